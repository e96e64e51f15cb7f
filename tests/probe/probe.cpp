// A test DLL built from the camera plug-in's own start-up and host-writing sources, loaded
// into the simulated host like the plug-in (its Windows calls reach the seam), whose exports
// let the tests call those routines one at a time.
#include <windows.h>

#include "camera_plugin/host/host_build.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"
#include "camera_plugin/startup/startup.h"

#define PROBE extern "C" __declspec(dllexport)

PROBE void ProbeWriteHostByte(uint32_t address, uint8_t value) { WriteHostByte(address, value); }
PROBE void ProbeFillHostNops(uint32_t address, uint32_t count) { FillHostNops(address, count); }
PROBE void ProbeWriteHostCall(uint32_t site, uint32_t routine) {
    WriteHostCall(site, reinterpret_cast<const void*>(routine));
}
PROBE void ProbeWriteHostJump(uint32_t site, uint32_t routine) {
    WriteHostJump(site, reinterpret_cast<const void*>(routine));
}
PROBE void ProbeWriteHostBytes(uint32_t address, const void* source, uint32_t count) {
    WriteHostBytes(address, source, count);
}

PROBE uint32_t ProbeSelectHostAddress(uint32_t address) { return SelectHostAddress(address); }
PROBE int32_t ProbeHostBuildIndex() { return HostBuildIndex; }

PROBE const char* ProbePluginDirectory() { return PluginDirectory(); }
PROBE void ProbeLoadSettings() { LoadSettings(); }
PROBE const SettingsRecord* ProbeSettings() { return &Settings; }
PROBE const char* ProbeKeyWalk() { return Settings.keyWalk.c_str(); }

PROBE void ProbeBindPadBridge() { BindPadBridge(); }
PROBE const void* ProbeActivePadBridge() { return ActivePadBridge; }
PROBE bool ProbeIsPadActive() { return IsPadActive(); }
