#include "camera_plugin/startup/pad_bridge.h"

#include <windows.h>

PadBridge* ActivePadBridge = nullptr;

namespace {

// The do-nothing bridge: pad input is never in use.
void* __thiscall NullDestroy(PadBridge* self, uint32_t) { return self; }
bool __thiscall NullQuery(PadBridge*) { return false; }
int32_t __thiscall NullQuery3(PadBridge*) { return -1; }
uint32_t __thiscall NullOperation(PadBridge*, uint32_t, uint32_t) { return 0; }

constexpr PadBridgeTable NullPadBridgeTable = {NullDestroy, NullQuery,     NullQuery,
                                               NullQuery3,  NullOperation, NullOperation};

PadBridge& NullPadBridge() {
    static PadBridge bridge{&NullPadBridgeTable};
    return bridge;
}

using GInputInterfaceExport = PadBridge* (__cdecl*)();

PadBridge* FindGInput() {
    HMODULE ginput = nullptr;
    // Flags 0 take a reference that is never released: GInput stays loaded.
    if (!GetModuleHandleExA(0, "GInputIII.asi", &ginput) || ginput == nullptr) return nullptr;
    FARPROC exported = GetProcAddress(ginput, MAKEINTRESOURCEA(1));
    if (exported == nullptr) return nullptr;
    return reinterpret_cast<GInputInterfaceExport>(reinterpret_cast<void*>(exported))();
}

}  // namespace

void BindPadBridge() {
    if (ActivePadBridge != nullptr) return;
    PadBridge* ginput = FindGInput();
    ActivePadBridge = ginput != nullptr ? ginput : &NullPadBridge();
}
