#include "camera_plugin/camera/camera_math.h"

#include <cmath>
#include <cstring>

#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

float FloatSin(float angle) { return float(std::sin(double(angle))); }
float FloatCos(float angle) { return float(std::cos(double(angle))); }
float FloatSqrt(float value) { return float(std::sqrt(double(value))); }
float FloatAtan2(float y, float x) { return float(std::atan2(double(y), double(x))); }

float Length(const Vector3& v) { return FloatSqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
float HorizontalLength(float x, float y) { return FloatSqrt(x * x + y * y); }

float WrapAngleBelowPi(float angle) {
    while (angle >= Pi) angle = float(double(angle) - 2.0 * Pi);
    while (angle < -Pi) angle = float(double(angle) + 2.0 * Pi);
    return angle;
}

float WrapAngleWithinPi(float angle) {
    while (angle > Pi) angle = float(double(angle) - 2.0 * Pi);
    while (angle < -Pi) angle = float(double(angle) + 2.0 * Pi);
    return angle;
}

void CameraBasis(HostCamRecord& cam) {
    cam.up = {0.0f, 0.0f, 1.0f};
    HostNormaliseVector(&cam.front);
    Vector3& front = cam.front;
    if (front.x == 0.0f && front.y == 0.0f) {
        // Looking straight up or down: nudge so that the cross product is defined.
        front.x = 0.0001f;
        front.y = 0.0001f;
    }
    // right = front x (0, 0, 1)
    Vector3 right{front.y, -front.x, 0.0f};
    HostNormaliseVector(&right);
    cam.up = {right.y * front.z - right.z * front.y, right.z * front.x - right.x * front.z,
              right.x * front.y - right.y * front.x};
}

Vector3 TransformOffset(const HostEntity& entity, const Vector3& offset) {
    Vector3 out;
    if (entity.placement.attachment != nullptr) {
        HostTransformPoint(&out, &entity.placement, &offset);
        return out;
    }
    const Vector3& forward = entity.placement.forward;
    const Vector3& position = entity.placement.position;
    const double a = WrapAngleBelowPi(FloatAtan2(-forward.x, forward.y));
    const double c = std::cos(a), s = std::sin(a);
    out.x = float(offset.x * c - offset.y * s + position.x);
    out.y = float(offset.y * c + offset.x * s + position.y);
    out.z = float(double(position.z) + offset.z);
    return out;
}

float OrbitLengthForZoom(float zoomStep) {
    if (zoomStep == 1.0f) return 2.0905559f;
    if (zoomStep == 2.0f) return 3.34973f;
    if (zoomStep == 3.0f) return 4.7049141f;
    if (zoomStep == 4.0f) return 2.0905559f;
    return 0.0f;
}

float DynamicFieldOfView(float lookUp) {
    float fov = Settings.fFOV + 50.0f * lookUp;
    if (Settings.fFOV >= fov) fov = Settings.fFOV;
    if (fov >= 100.0f) fov = 100.0f;
    return fov;
}

float OnFootOrbit(HostCamRecord& cam, const Vector3& offset, float offsetLength,
                  Vector3& scaledOffset) {
    if (cam.resetRequest != 0) {
        cam.resetCleared = 0;
        cam.resetRaised = 1;
    }
    const float orbitLength = OrbitLengthForZoom(HostCamera().zoomStep);
    if (offsetLength != 0.0f)
        scaledOffset = {offset.x * orbitLength / offsetLength,
                        offset.y * orbitLength / offsetLength,
                        offset.z * orbitLength / offsetLength};
    else
        scaledOffset = {1.0f, 1.0f, 0.0f};
    return 0.5f * Length(scaledOffset) + 0.25f + HostCamera().extraOrbitRadius;
}

bool CameraInputOpen(const HostCamRecord& cam) {
    const HostCameraObject& camera = HostCamera();
    return HostControlLock() == 0 && camera.placeBehindRequest == 0 &&
           camera.placeInFrontRequest == 0 && cam.inputLock[0] == 0 && cam.inputLock[1] == 0 &&
           cam.inputLock[2] == 0;
}

void ApplyMouseInput(HostCamRecord& cam, float fovScale) {
    const float dx = HostMouseDeltaX(), dy = HostMouseDeltaY();
    if (dx == 0.0f && dy == 0.0f) return;
    cam.headingRate = 0.0f;
    cam.pitchRate = 0.0f;
    const HostCameraObject& camera = HostCamera();
    cam.pitch = float(cam.pitch - dy * 4.0 * fovScale * camera.mouseSensitivityY);
    cam.heading = float(cam.heading - dx * 2.5 * fovScale * camera.mouseSensitivityX);
}

void ApplyStickInput(HostCamRecord& cam, float scale) {
    const float stickY = float(HostPadRightStickY());
    cam.pitch -= stickY * scale * (Settings.fRightStickVerticalSensitivity / 1280.0f);
    const float stickX = float(HostPadRightStickX());
    cam.heading -= stickX * scale * (Settings.fRightStickHorizontalSensitivity / 1280.0f);
}

void ClampPitch(HostCamRecord& cam, float lowest, float highest) {
    if (cam.pitch < lowest) cam.pitch = lowest;
    if (cam.pitch > highest) cam.pitch = highest;
}

bool LineOfSightHit(const Vector3& from, const Vector3& to, const SightFlags& flags,
                    Vector3& hitPosition) {
    HostColPoint hit{};
    HostEntity* hitEntity = nullptr;
    const bool* f = flags.flag;
    if (!HostLineOfSight(&from, &to, &hit, &hitEntity, f[0], f[1], f[2], f[3], f[4], f[5], f[6]))
        return false;
    hitPosition = hit.position;
    return true;
}

void PullCameraInFrontOfWalls(const Vector3& pivot, Vector3& camera, const SightFlags& flags,
                              float pullInAbove, bool nearClipWhenClose) {
    if (!LineOfSightHit(pivot, camera, flags, camera)) return;
    const Vector3 v = camera - pivot;
    const float length = Length(v);
    if (length > pullInAbove) {
        const float keep = length - 0.3f;
        camera = {pivot.x + v.x * keep / length, pivot.y + v.y * keep / length,
                  pivot.z + v.z * keep / length};
    }
    if (nearClipWhenClose && HorizontalLength(camera.x - pivot.x, camera.y - pivot.y) < 2.0f)
        SetCameraNearClip();
}

void SetCameraNearClip() { HostSetNearClip(HostRenderCamera(), 0.05f); }

void HonourPlacementRequests(HostCamRecord& cam, bool adoptHeading, float behindHeading,
                             float inFrontHeading) {
    const HostCameraObject& camera = HostCamera();
    if (adoptHeading && camera.adoptHeadingRequest != 0) cam.heading = cam.requestedHeading;
    if (camera.placeBehindRequest != 0) {
        cam.resetRaised = 1;
        cam.pitch = 0.0f;
        cam.heading = behindHeading;
    }
    if (camera.placeInFrontRequest != 0) {
        cam.heading = inFrontHeading;
        cam.pitch = 0.0f;
    }
}

void FinishCameraUpdate(HostCamRecord& cam, const Vector3& pivot, bool horizontalDistance) {
    cam.front = pivot - cam.position;
    const float distance = horizontalDistance ? HorizontalLength(cam.front.x, cam.front.y)
                                              : Length(cam.front);
    cam.distanceA = distance;
    cam.distanceB = distance;
    HostNormaliseVector(&cam.front);
    CameraBasis(cam);
    const uint16_t cleared = 0;
    std::memcpy(&HostCamera().placeBehindRequest, &cleared, sizeof cleared);  // 0x4E and 0x4F
    cam.resetRequest = 0;
}

void ClearUpdateBytes(HostCamRecord& cam) {
    const uint16_t cleared = 0;
    std::memcpy(&cam.clearedA, &cleared, sizeof cleared);  // 0x00 and 0x01
    cam.clearedC = 0;
}
