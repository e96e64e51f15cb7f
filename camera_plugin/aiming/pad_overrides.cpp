// Answers in place of some of the host's pad queries: fire also from button 0x08 while
// aiming, the right stick only with a bridged pad, and the walk key that slows the walk.
// Each override is reached by a host call made to a pad method; it ignores that pad and
// always asks the player-1 pad.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr float WalkKeyScale = 0.4f;

int32_t __thiscall FireHeldOverride(HostPad*) {
    if (HostControlLock() == 1) return 0;
    return FireHeld();
}

int32_t __thiscall FirePressedOverride(HostPad*) {
    if (HostControlLock() == 1) return 0;
    return FirePressed() ? 1 : 0;
}

// The host's reading of a right-stick axis, for a bridged pad in use only.
template <int32_t (*HostQuery)()>
int32_t __thiscall RightStickOverride(HostPad*) {
    if (HostControlLock() != 0) return 0;
    return IsPadActive() ? HostQuery() : 0;
}
constexpr auto RightStickXOverride = RightStickOverride<HostPadRightStickX>;
constexpr auto RightStickYOverride = RightStickOverride<HostPadRightStickY>;

float WalkScale() {
    const bool held = (GetKeyState(WalkKeyCode(Settings.keyWalk)) & 0x8000) != 0;
    return held ? WalkKeyScale : 1.0f;
}

// A walk axis from the two direction words of the player-1 pad: half their difference,
// scaled, in single precision and cut toward zero. A bridged pad in use gets the host's
// own answer.
template <int32_t (*HostQuery)(), int16_t HostPad::*Plus, int16_t HostPad::*Minus>
int32_t __thiscall WalkAxisOverride(HostPad*) {
    if (HostControlLock() != 0) return 0;
    const float scale = WalkScale();
    if (IsPadActive()) return HostQuery();
    const HostPad& pad = HostPad0();
    return int32_t((float(pad.*Plus) * scale - float(pad.*Minus) * scale) * 0.5f);
}
constexpr auto WalkAxisAOverride =
    WalkAxisOverride<HostPadWalkAxisA, &HostPad::walkAPlus, &HostPad::walkAMinus>;
constexpr auto WalkAxisBOverride =
    WalkAxisOverride<HostPadWalkAxisB, &HostPad::walkBPlus, &HostPad::walkBMinus>;

using PadOverride = int32_t(__thiscall*)(HostPad*);

void WriteOverrideCalls(std::initializer_list<HostAddress> sites, PadOverride routine) {
    for (HostAddress site : sites) WriteHostCall(site, reinterpret_cast<const void*>(routine));
}

}  // namespace

void InstallPadOverrides() {
    if (Settings.bProcess_FollowPed) {
        WriteOverrideCalls({0x4F203A, 0x4F20AB}, FireHeldOverride);
        WriteOverrideCalls({0x4F20DB, 0x4F2086}, FirePressedOverride);
    }
    if (Settings.bProcess_FollowVeh) {
        WriteOverrideCalls({0x45A1C8, 0x45AF7A, 0x46007A, 0x468E5D}, RightStickXOverride);
        WriteOverrideCalls({0x45A1E8, 0x45AF9A, 0x46009A, 0x468E71}, RightStickYOverride);
    }
    if (WalkKeyCode(Settings.keyWalk) == 0) return;
    WriteOverrideCalls({0x493CEA, 0x4F13E2, 0x487ED6, 0x4CA5CF, 0x468EA4, 0x493C8A, 0x4F1987,
                        0x4CA779, 0x487E51, 0x493D4A, 0x493C2A, 0x4F3226, 0x4F181D, 0x4C791A},
                       WalkAxisAOverride);
    WriteOverrideCalls(
        {0x4F3246, 0x4C7938, 0x4F1832, 0x4F13F8, 0x4CA5F3, 0x468EBC, 0x4CA7A0, 0x4F199D},
        WalkAxisBOverride);
}
