// A test DLL built from the camera plug-in's camera, host and settings sources, loaded into
// the simulated host like the plug-in (its Windows calls reach the seam). Its exports set
// the aim flags the aiming hook would write and install the camera hooks alone.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"
#include "camera_plugin/startup/startup.h"

#define PROBE extern "C" __declspec(dllexport)

// Process attach with the camera hooks as the only installer.
PROBE void CameraProbeAttach() {
    LoadSettings();
    BindPadBridge();
    InstallCameraHooks();
}

PROBE void CameraProbeSetAimFlags(uint8_t aiming, uint8_t playerFacesCamera) {
    bAiming = aiming;
    bPlayerFacesCamera = playerFacesCamera;
}

PROBE uint8_t CameraProbeShoulderBlocked() { return bShoulderBlocked; }
PROBE void CameraProbeSetShoulderBlocked(uint8_t blocked) { bShoulderBlocked = blocked; }
