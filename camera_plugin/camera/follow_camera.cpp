// The on-foot follow camera: orbits a pivot above (or beside) the player character under
// mouse and right-stick control, trails a walking character when a pad is in use, and
// keeps out of walls with two line-of-sight passes.
#include "camera_plugin/camera/camera_math.h"
#include "camera_plugin/camera/cameras.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr Vector3 RightOfCharacter{0.32f, 0.0f, 0.0f};
constexpr float WalkingMovement = 0.06f;
constexpr float LowestPitch = -0.87266469f;   // -50 degrees
constexpr float HighestPitch = 1.3962634f;    // 80 degrees
constexpr SightFlags FirstPassFlags{{true, true, false, true, false, true, true}};
constexpr SightFlags SecondPassFlags{{true, true, true, true, false, true, true}};

}  // namespace

void FollowCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading) {
    ClearUpdateBytes(cam);
    SetCameraNearClip();

    // The character is read for the shoulder pivot, the look-up shortening and the
    // trailing rule. While the host is still loading there may be none: then the
    // record stays as it is for this frame.
    const bool trailingWanted = !Settings.bNoAutoFoc && IsPadActive();
    const HostCharacter* character = nullptr;
    if (Settings.bIVOnFootCamera || Settings.bDynamicFOV || trailingWanted) {
        character = HostGetPlayerCharacter();
        if (character == nullptr) return;
    }

    Vector3 pivot = Settings.bIVOnFootCamera ? TransformOffset(character->entity, RightOfCharacter)
                                             : targetPoint;
    pivot.z = pivot.z + 0.05f + cam.heightOffset;

    const Vector3& previous = cam.position;
    const Vector3 offset{previous.x - pivot.x, previous.y - pivot.y,
                         previous.z - pivot.z - 0.2f};
    float offsetLength = Length(offset);

    if (Settings.bDynamicFOV) {
        const float lookUp = FloatSin(-cam.pitch);
        const float lift = HostCamera().zoomStep == 2.0f ? 45.0f * lookUp : 0.0f;
        float shortening = lift - (character->entity.placement.position.z - 1.0f);
        if (shortening < 0.0f) shortening = 0.0f;
        if (shortening > 15.0f) shortening = 15.0f;
        offsetLength = offsetLength + shortening;
        cam.fov = DynamicFieldOfView(lookUp);
    } else {
        cam.fov = Settings.fFOV;
    }

    Vector3 scaled;
    const float radius = OnFootOrbit(cam, offset, offsetLength, scaled);

    // Trailing: turn to where the camera actually trails the walking character.
    if (trailingWanted && character->entity.movement >= WalkingMovement &&
        cam.inputLock[0] == 0) {
        cam.heading = HostAngleOfVector(scaled.x, scaled.y);
        cam.pitch = HostAngleOfVector(HorizontalLength(scaled.x, scaled.y) + 0.2f, scaled.z);
    }
    cam.heading = WrapAngleBelowPi(cam.heading);
    cam.pitch = WrapAngleBelowPi(cam.pitch);

    const float fovScale = cam.fov * 0.0125f;
    if (CameraInputOpen(cam)) {
        ApplyMouseInput(cam, fovScale);
        if (IsPadActive()) ApplyStickInput(cam, 0.5f * fovScale);
    }
    ClampPitch(cam, LowestPitch, HighestPitch);

    const float cp = FloatCos(cam.pitch), sp = FloatSin(cam.pitch);
    const float ch = FloatCos(cam.heading), sh = FloatSin(cam.heading);
    cam.position = {pivot.x + radius * cp * ch, pivot.y + radius * cp * sh,
                    pivot.z + radius * sp + 0.2f};
    cam.lookPoint = cam.position + cam.front;
    cam.pivot = pivot;
    cam.orbitDistance = Length(cam.position - pivot);

    PullCameraInFrontOfWalls(pivot, cam.position, FirstPassFlags, 0.4f, true);
    HostIgnoredEntity() = cam.target;
    PullCameraInFrontOfWalls(pivot, cam.position, SecondPassFlags, 0.3f, true);
    HostIgnoredEntity() = nullptr;

    HonourPlacementRequests(cam, true, float(targetHeading + Pi), targetHeading);
    FinishCameraUpdate(cam, pivot, true);
}
