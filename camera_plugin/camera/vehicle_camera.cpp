// The vehicle camera: an orbit around a pivot above the followed vehicle, sized by the
// vehicle's model box, that swings behind the moving vehicle on its own, and that can aim
// the movable part of the firetruck and the tank.
#include <cmath>

#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/camera/camera_math.h"
#include "camera_plugin/camera/cameras.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr Vector3 LeftOfVehicle{-0.32f, 0.0f, 0.0f};
constexpr float MovingVehicle = 0.1f;
constexpr float LowestPitch = -0.34906584f;  // -20 degrees
constexpr float HighestPitch = 1.3962634f;   // 80 degrees
constexpr SightFlags PassFlags{{true, false, false, true, true, true, true}};
constexpr int16_t FiretruckModel = 97;
constexpr int16_t TankModel = 122;

// The followed vehicle's collision model, or null when the target is no vehicle or its
// model has no collision box (then there is nothing to size the orbit by).
const HostColModel* FollowedVehicleBox(const HostEntity* target) {
    if (target == nullptr || (target->typeAndStatus & HostEntityKindMask) != HostEntityKindVehicle)
        return nullptr;
    if (target->modelIndex < 0) return nullptr;
    const HostModelInfo* model = HostModelInfoFor(target->modelIndex);
    return model != nullptr ? model->colModel : nullptr;
}

bool StickAllowedFor(const HostVehicle* vehicle) {
    if (vehicle == nullptr) return true;
    for (int32_t model : Settings.ModelID)
        if (vehicle->entity.modelIndex == model) return false;
    return true;
}

// Turns the part frame's matrix about z to minus the part heading, keeping its position.
void TurnPartFrame(HostVehicle& vehicle) {
    HostMatrix matrix{};
    HostMatrixAttach(&matrix, vehicle.partFrame + HostFrameMatrixOffset, 0);
    const Vector3 position = matrix.position;
    HostMatrixSetRotateZ(&matrix, -vehicle.partHeading);
    matrix.position = matrix.position + position;
    HostMatrixUpdate(&matrix);
    HostMatrixRelease(&matrix);
}

void AimVehiclePart(HostVehicle& vehicle, float pitch, float offsetX, float offsetY) {
    const float direction = FloatAtan2(offsetX, offsetY);
    if (vehicle.entity.modelIndex == FiretruckModel) {
        vehicle.partHeading = HostGetPlayerHeading() + direction;
        vehicle.partElevation = FloatSin(pitch);
        if (vehicle.partFrame != nullptr) TurnPartFrame(vehicle);
    }
    if (vehicle.entity.modelIndex == TankModel) {
        vehicle.partHeading = -(HostGetPlayerHeading() + direction);
        vehicle.partElevation = FloatSin(pitch);
    }
}

}  // namespace

void VehicleCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading) {
    ClearUpdateBytes(cam);
    const HostColModel* box = FollowedVehicleBox(cam.target);
    if (box == nullptr) return;
    SetCameraNearClip();
    HostCameraObject& camera = HostCamera();

    HostVehicle* vehicle = PlayerVehicle();
    Vector3 pivot = Settings.bIVVehicleCamera && vehicle != nullptr
                        ? TransformOffset(vehicle->entity, LeftOfVehicle)
                        : targetPoint;

    float width = box->boxMax.x - box->boxMin.x;
    float length = box->boxMax.y - box->boxMin.y;
    float height = box->boxMax.z - box->boxMin.z;
    const float lift = 0.1f * FloatSqrt(length * height) + 0.4f;
    if (HostFocusedPlayer().controlledVehicle != nullptr) {
        height = height + 0.7f;
        width = width + 0.7f;
        length = length + 4.6f;
    }
    const float diagonal = FloatSqrt(length * length + width * width + height * height);
    pivot.z = pivot.z - 1.0f + height;

    const Vector3& previous = cam.position;
    const Vector3 offset{pivot.x - previous.x, pivot.y - previous.y,
                         previous.z - pivot.z - lift};

    cam.fov = Settings.bDynamicFOV ? DynamicFieldOfView(FloatSin(-cam.pitch)) : Settings.fFOV;

    if (cam.resetRequest != 0) {
        cam.pitchRate = 0.0f;
        if (camera.resetStampFlag != 0) camera.resetStamp = HostTimeMs();
    }

    cam.vehicleDistance = camera.vehicleDistance + diagonal - 0.1f;
    const float nearDistance = 0.6f * diagonal;
    cam.vehicleNearDistance = nearDistance < 3.5f ? nearDistance : 3.5f;
    const float orbit = cam.vehicleDistance + 0.25f;

    // Trailing: with a pad, whenever the vehicle moves; without one, once the hand-control
    // time stamp has passed.
    if (!Settings.bNoAutoFoc) {
        const bool moving = vehicle != nullptr && vehicle->entity.movement > MovingVehicle;
        const bool trailing =
            (IsPadActive() && moving) ||
            (HostTimeMs() > HostCam().handControlUntil && moving &&
             camera.placeBehindRequest == 0 && camera.placeInFrontRequest == 0 &&
             cam.inputLock[0] == 0);
        if (trailing) {
            cam.heading = HostAngleOfVector(offset.x, offset.y);
            cam.pitch = HostAngleOfVector(HorizontalLength(offset.x, offset.y) + lift, offset.z);
        }
    }
    cam.pitch = WrapAngleWithinPi(cam.pitch);
    cam.heading = WrapAngleWithinPi(cam.heading);

    const bool stickAllowed = StickAllowedFor(vehicle);
    const float fovScale = cam.fov * 0.0125f;
    if (CameraInputOpen(cam)) {
        ApplyMouseInput(cam, fovScale);
        if (IsPadActive() && stickAllowed) ApplyStickInput(cam, 0.5f * fovScale);
    }
    ClampPitch(cam, LowestPitch, HighestPitch);

    const float cp = FloatCos(cam.pitch), sp = FloatSin(cam.pitch);
    const float ch = FloatCos(cam.heading), sh = FloatSin(cam.heading);
    const float alongX = orbit * cp * ch, alongY = orbit * cp * sh, rise = orbit * sp;
    cam.position = {pivot.x - alongX, pivot.y - alongY, pivot.z + rise + lift};
    cam.lookPoint = {cam.position.x, cam.position.y, pivot.z - rise - lift};
    cam.pivot = pivot;
    cam.orbitDistance = Length(cam.position - pivot);
    const float partOffsetX = alongX + cam.front.x, partOffsetY = alongY + cam.front.y;

    HostIgnoredEntity() = cam.target;
    HostCamPivotRoutine(&cam, &pivot);
    PullCameraInFrontOfWalls(pivot, cam.position, PassFlags, 0.4f, false);
    HostIgnoredEntity() = nullptr;

    // Until the host's state word reads 3 the orbit is held behind the vehicle.
    if (cam.stateWord != 3) camera.placeBehindRequest = 1;
    HonourPlacementRequests(cam, true, targetHeading, float(targetHeading + Pi));
    FinishCameraUpdate(cam, pivot, false);

    if (vehicle != nullptr && cam.inputLock[0] == 0 && cam.inputLock[1] == 0 &&
        cam.inputLock[2] == 0 && Settings.bControlVehParts)
        AimVehiclePart(*vehicle, cam.pitch, partOffsetX, partOffsetY);
}
