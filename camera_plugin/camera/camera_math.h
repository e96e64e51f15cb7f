// What the three cameras share: single-precision maths computed in double, vector helpers,
// the front/up rebuild, entity-frame offsets, and the steps every camera update makes the
// same way (mouse input, orbit length, collision pull-in, the host's request bytes).
#pragma once

#include "camera_plugin/host/host_interface.h"

// Float in, computed in double, float out.
float FloatSin(float angle);
float FloatCos(float angle);
float FloatSqrt(float value);
float FloatAtan2(float y, float x);

constexpr double Pi = 3.141592653589793;

inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
float Length(const Vector3& v);
float HorizontalLength(float x, float y);

// On-foot cameras: into [-pi, pi), each step in double and stored as a float.
float WrapAngleBelowPi(float angle);
// Vehicle camera: into [-pi, pi], stepping only while above pi or below -pi.
float WrapAngleWithinPi(float angle);

// Rebuilds the cam record's front (normalised) and up from its front.
void CameraBasis(HostCamRecord& cam);

// The world point of an offset in the entity's own frame (x right, y forward, z up).
Vector3 TransformOffset(const HostEntity& entity, const Vector3& offset);

// The orbit length of an on-foot zoom step (1.0 to 4.0, compared exactly); 0 for others.
float OrbitLengthForZoom(float zoomStep);

// The field of view with bDynamicFOV on, lookUp being sin(-pitch).
float DynamicFieldOfView(float lookUp);

// True when neither the host's control lock, a placement request nor the cam's input
// locks hold the camera still.
bool CameraInputOpen(const HostCamRecord& cam);

// The on-foot orbit from the offset to last frame's camera position: honours the cam's
// reset request, rescales the offset to the zoom step's orbit length (or to (1, 1, 0) when
// it is 0 long) and gives the orbit radius.
float OnFootOrbit(HostCamRecord& cam, const Vector3& offset, float offsetLength,
                  Vector3& scaledOffset);

// Mouse step: turns pitch and heading by this frame's mouse movement (in double).
void ApplyMouseInput(HostCamRecord& cam, float fovScale);

// Right-stick step: each reading times scale times the axis sensitivity / 1280.
void ApplyStickInput(HostCamRecord& cam, float scale);

// Clamps the cam's pitch and stores it.
void ClampPitch(HostCamRecord& cam, float lowest, float highest);

// The seven flag arguments of the host's line-of-sight test.
struct SightFlags {
    bool flag[7];
};

// The host's line-of-sight test; on a hit, hitPosition is where.
bool LineOfSightHit(const Vector3& from, const Vector3& to, const SightFlags& flags,
                    Vector3& hitPosition);

// Line of sight from the pivot to the camera; on a hit the camera moves to the hit and,
// when it is further than pullInAbove from the pivot, 0.3 back towards the pivot. With
// nearClipWhenClose, a hit that leaves the camera less than 2.0 from the pivot
// horizontally sets the near clipping distance again.
void PullCameraInFrontOfWalls(const Vector3& pivot, Vector3& camera, const SightFlags& flags,
                              float pullInAbove, bool nearClipWhenClose);

// The near clipping distance every camera sets.
void SetCameraNearClip();

// Honours the host's requests: adopt a heading (when asked to look at byte 0x6A), place
// behind (0x4E, which also raises cam byte 0x03) and place in front (0x4F). Pitch is 0
// after either placement.
void HonourPlacementRequests(HostCamRecord& cam, bool adoptHeading, float behindHeading,
                             float inFrontHeading);

// Front = pivot - camera position; the record's two distance fields get its horizontal
// length (or its full length); then the basis, and the host's placement requests and the
// cam's reset request are consumed.
void FinishCameraUpdate(HostCamRecord& cam, const Vector3& pivot, bool horizontalDistance);

// The bytes every update clears first (0x00 and 0x01 in one store, then 0x04).
void ClearUpdateBytes(HostCamRecord& cam);
