// Process attach of the camera plug-in: settings, the pad bridge, then the installers.
#include <windows.h>

#include "camera_plugin/host/host_build.h"
#include "camera_plugin/startup/installer_list.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"
#include "camera_plugin/startup/startup.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    LoadSettings();
    BindPadBridge();
    if (Settings.bEnable) {
        // Every patch site is a build-1.0 address: never patch another build.
        if (IsHostBuild10())
            RunInstallers();
        else
            MessageBoxA(nullptr,
                        "This plug-in supports only version 1.0 of the game and stays inactive.",
                        "kelvora", MB_OK);
    }
    return TRUE;
}
