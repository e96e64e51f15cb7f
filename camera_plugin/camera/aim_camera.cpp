// The aiming camera: looks over the player character's right shoulder, keeps a locked-on
// target in view and hands the host camera's aim value to the character.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/camera/camera_math.h"
#include "camera_plugin/camera/cameras.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr Vector3 Shoulder{0.5f, 1.0f, 0.1f};
constexpr Vector3 ShoulderAtFirstZoom{0.425f, 0.935f, 0.105f};
constexpr float LowestPitch = -1.7453294f;  // -100 degrees
constexpr float HighestPitch = 1.5707964f;  // 90 degrees
constexpr SightFlags ShoulderFlags{{true, false, false, true, false, true, true}};
constexpr SightFlags PassFlags{{true, true, false, true, false, true, true}};

}  // namespace

void AimCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading) {
    ClearUpdateBytes(cam);
    SetCameraNearClip();

    // Without a player character (the host still loading) the record stays as it is.
    const HostCharacter* character = HostGetPlayerCharacter();
    HostCharacter* focused = HostFocusedPlayer().character;
    if (character == nullptr || focused == nullptr) return;

    const HostCameraObject& camera = HostCamera();
    const Vector3 shoulder = TransformOffset(
        character->entity, camera.zoomStep == 1.0f ? ShoulderAtFirstZoom : Shoulder);
    const Vector3& previous = cam.position;
    Vector3 hit;
    bShoulderBlocked = 0;
    Vector3 pivot = shoulder;
    if (LineOfSightHit(shoulder, previous, ShoulderFlags, hit)) {
        bShoulderBlocked = 1;
        pivot = targetPoint;
    }

    // The pivot sinks as the camera rises.
    const float rise = FloatSin(cam.pitch);
    pivot.z = pivot.z + 0.05f + cam.heightOffset - rise;

    const Vector3 offset = previous - pivot;
    float offsetLength = Length(offset);
    if (camera.zoomStep == 2.0f) {
        float shortening = 10.0f * rise;
        if (shortening < 0.0f) shortening = 0.0f;
        if (shortening > 10.0f) shortening = 10.0f;
        offsetLength = offsetLength + shortening;
    }
    cam.fov = Settings.fFOV;

    Vector3 scaled;
    const float radius = OnFootOrbit(cam, offset, offsetLength, scaled);

    // Lock-on: the camera goes to the far side of the pivot from the target.
    if (focused->targetLock != 0 && cam.inputLock[0] == 0) {
        if (const HostEntity* target = focused->lockedTarget)
            cam.heading = HostAngleOfVector(previous.x - target->placement.position.x,
                                            previous.y - target->placement.position.y);
        cam.pitch = HostAngleOfVector(HorizontalLength(scaled.x, scaled.y), scaled.z);
    }
    cam.heading = WrapAngleBelowPi(cam.heading);
    cam.pitch = WrapAngleBelowPi(cam.pitch);

    const float fovScale = cam.fov * 0.0125f;
    if (CameraInputOpen(cam)) {
        ApplyMouseInput(cam, fovScale);
        if (IsPadActive()) ApplyStickInput(cam, 1.0f);
    }
    ClampPitch(cam, LowestPitch, HighestPitch);

    // A flat orbit: the horizontal offset does not shrink with the pitch.
    const float sp = FloatSin(cam.pitch);
    const float ch = FloatCos(cam.heading), sh = FloatSin(cam.heading);
    cam.position = {pivot.x + radius * ch, pivot.y + radius * sh, pivot.z + radius * sp};
    cam.lookPoint = cam.position + cam.front;
    cam.pivot = pivot;
    cam.orbitDistance = Length(cam.position - pivot);

    PullCameraInFrontOfWalls(pivot, cam.position, PassFlags, 0.3f, true);
    HostIgnoredEntity() = cam.target;
    HostCamPivotRoutine(&cam, &pivot);
    PullCameraInFrontOfWalls(pivot, cam.position, PassFlags, 0.3f, true);
    HostIgnoredEntity() = nullptr;

    HonourPlacementRequests(cam, false, float(targetHeading + Pi), targetHeading);
    FinishCameraUpdate(cam, pivot, true);

    if (focused->targetLock == 0) focused->aimValue = 0.75f * HostCameraAimValue(&HostCamera());
}
