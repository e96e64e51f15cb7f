// The plug-in's third-person cameras and the routines the patched host code reaches.
// Each camera updates the cam record it is given from the host's target point and heading.
#pragma once

#include <cstdint>

#include "camera_plugin/host/host_interface.h"

// On foot, not aiming: a free orbit around a pivot beside or above the player character.
void FollowCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading);
// On foot while aiming: over the player character's right shoulder.
void AimCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading);
// In a vehicle: an orbit sized by the vehicle's model.
void VehicleCamera(HostCamRecord& cam, const Vector3& targetPoint, float targetHeading);

// Reached from the host's patched sites (entry shapes of the calls they replace).
void __thiscall OnFootCameraDispatch(void* hostCam, const Vector3* targetPoint,
                                     float targetHeading, float, float);
void __thiscall VehicleCameraEntry(void* hostCam, const Vector3* targetPoint,
                                   float targetHeading, float, float);
uint8_t RotationPredicate();
uint8_t __thiscall AimPredicate(void* hostObject);
void NoOperation();
