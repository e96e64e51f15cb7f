// Binds the cameras into the host: the host's follow-camera updates reach the plug-in's
// cameras, and a few of the host's decisions about the player's rotation and aiming are
// answered here.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/camera/cameras.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr int16_t AimingCamMode = 4;

// Host sites whose call asks whether the player character turns with the camera.
constexpr HostAddress RotationPredicateSites[] = {0x4F2685, 0x469292, 0x4C7673,
                                                  0x4F03D5, 0x4D76CE, 0x45DB98};
// Host sites whose call asks whether the player is aiming with the camera.
constexpr HostAddress AimPredicateSites[] = {0x4E6562, 0x55D88B, 0x560C25};
// Host sites of the vehicle follow-camera update.
constexpr HostAddress VehicleCameraSites[] = {0x459A54, 0x459B36, 0x459A16};

}  // namespace

// The host passes its own cam record; the plug-in's cameras always work on the first.
void __thiscall OnFootCameraDispatch(void*, const Vector3* targetPoint, float targetHeading,
                                     float, float) {
    if (bAiming == 0)
        FollowCamera(HostCam(), *targetPoint, targetHeading);
    else if (bAiming == 1)
        AimCamera(HostCam(), *targetPoint, targetHeading);
}

void __thiscall VehicleCameraEntry(void*, const Vector3* targetPoint, float targetHeading,
                                   float, float) {
    VehicleCamera(HostCam(), *targetPoint, targetHeading);
}

uint8_t RotationPredicate() { return HostControlLock() == 0 && bPlayerFacesCamera == 1; }

uint8_t __thiscall AimPredicate(void*) {
    if (HostControlLock() != 0) return 0;
    const HostCharacter* character = HostFocusedPlayer().character;
    if (character == nullptr || character->targetLock != 0) return 0;
    return HostCam().mode == AimingCamMode && bAiming == 1 && !IsAimBlockingState();
}

void NoOperation() {}

void InstallCameraHooks() {
    if (Settings.bProcess_FollowPed) {
        WriteHostCall(0x459A7C, reinterpret_cast<const void*>(&OnFootCameraDispatch));
        FillHostNops(0x459A65, 2);
        WriteHostByte(0x4F1F74, 0xFF);
        FillHostNops(0x469226, 7);
        FillHostNops(0x469260, 7);
        for (HostAddress site : RotationPredicateSites)
            WriteHostCall(site, reinterpret_cast<const void*>(&RotationPredicate));
        for (HostAddress site : AimPredicateSites)
            WriteHostCall(site, reinterpret_cast<const void*>(&AimPredicate));
        WriteHostCall(0x468E46, reinterpret_cast<const void*>(&NoOperation));
    }
    if (Settings.bProcess_FollowVeh)
        for (HostAddress site : VehicleCameraSites)
            WriteHostCall(site, reinterpret_cast<const void*>(&VehicleCameraEntry));
}
