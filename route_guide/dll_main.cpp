// Process attach of the route guide: tell the host build by its signature, bind that
// build's host addresses and install the hooks.
#include <windows.h>

#include <cstring>

#include "route_guide/guide_state.h"
#include "route_guide/host_bindings.h"
#include "route_guide/radar_route.h"

HostBindings Bindings{};

namespace {

// Writes a host range under PAGE_EXECUTE_READWRITE and puts the old protection back. A
// range whose protection cannot be changed is left alone: writing it could fault.
template <class Write>
void WriteUnprotected(HostAddress address, uint32_t size, Write write) {
    void* at = reinterpret_cast<void*>(uintptr_t(address));
    DWORD oldProtection = 0;
    if (!VirtualProtect(at, size, PAGE_EXECUTE_READWRITE, &oldProtection)) return;
    write(static_cast<uint8_t*>(at));
    VirtualProtect(at, size, oldProtection, &oldProtection);
}

template <class Hook>
const void* RoutineAddress(Hook hook) {
    return reinterpret_cast<const void*>(hook);
}

}  // namespace

// CALL rel32 at site to target; opcode and displacement each under their own protection.
void InstallCallHook(HostAddress site, const void* target) {
    WriteUnprotected(site, 1, [](uint8_t* at) { *at = 0xE8; });
    const uint32_t displacement = uint32_t(uintptr_t(target)) - site - 5;
    WriteUnprotected(site + 1, 4,
                     [&](uint8_t* at) { std::memcpy(at, &displacement, sizeof displacement); });
}

void InstallNopPatch(HostAddress site) {
    WriteUnprotected(site, 5, [](uint8_t* at) { std::memset(at, 0x90, 5); });
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    const uint32_t signature = HostVariable<volatile uint32_t>(HostSignatureAddress);
    const HostBindings* column;
    const GuidePatchSites* sites;
    if (signature == HostSignatureBuild11) {
        column = &HostBindingsBuild11;
        sites = &GuidePatchSitesBuild11;
    } else if (signature == HostSignatureBuild10) {
        column = &HostBindingsBuild10;
        sites = &GuidePatchSitesBuild10;
    } else {
        MessageBoxA(nullptr, "Unknown GTA 3 version", "gps.asi", MB_OK);
        return TRUE;
    }
    Bindings = *column;
    InstallCallHook(sites->radarDrawCall, RoutineAddress(&RadarDrawHook));
    InstallCallHook(sites->radarFrameCall, RoutineAddress(&RadarFrameHook));
    InstallCallHook(sites->resetCall, RoutineAddress(&ResetHook));
    InstallNopPatch(sites->nopPatch);
    return TRUE;
}
