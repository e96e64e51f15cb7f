// Aiming on foot, per frame: the aiming hook's pass (with its six protection changes), the
// crosshair draw and twenty of the host's pad queries answered by the overrides.
#include <windows.h>

#include <memory>

#include "tests/bench/frame_bench.h"
#include "tests/sim/kelvora_host.h"

namespace {

using namespace sim;
using namespace sim::kelvora;

constexpr uint32_t PadQuerySites[20] = {0x4F203A, 0x4F20AB, 0x4F20DB, 0x4F2086,  // fire
                                        0x45A1C8, 0x45AF7A, 0x46007A, 0x468E5D,  // right stick x
                                        0x45A1E8, 0x45AF9A, 0x46009A, 0x468E71,  // right stick y
                                        0x493CEA, 0x4F13E2, 0x487ED6, 0x4CA5CF,
                                        0x468EA4, 0x493C8A,   // walk axis a
                                        0x4F3246, 0x4C7938};  // walk axis b

// The player on foot aiming a gun (weapon type 4) with the mouse, the crosshair on screen.
std::shared_ptr<LoadedPlugin> AimingScene() {
    PoseAsCameraBuild10();
    PlaceAllHostDoubles();
    HostWorld world = BuildHostWorld();
    std::shared_ptr<LoadedPlugin> plugin = LoadCameraPlugin(
        std::string("bEnable=1\nbProcess_FollowPed=1\nbProcess_FollowVeh=1\nkeyWalk=0x12\n"));
    world.character->currentWeaponSlot = 3;
    world.character->weapons[3].type = 4;
    HostCam().mode = 4;
    HostPad0().walkAPlus = 255;
    At<int32_t>(HostViewWidthAddress) = 640;
    At<int32_t>(HostViewHeightAddress) = 480;
    At<float>(HostHudScaleAddress) = 1.0f;
    PadAimHeld::answer = [](HostPad*) { return 1; };
    GetPad::answer = [](int32_t) { return &HostPad0(); };
    return plugin;
}

void AimingPass() { EnterHostSite(0x46D500, HostCameraAddress, {}); }

bench::Registration aimingPass("aiming pass", [] {
    return std::function<void()>([plugin = AimingScene()] { AimingPass(); });
});

bench::Registration aimingFrame("aiming + crosshair + 20 pads", [] {
    return std::function<void()>([plugin = AimingScene()] {
        AimingPass();
        EnterHostSite(0x505EA9, 0, {});
        for (uint32_t site : PadQuerySites) EnterHostSite(site, HostPad0Address, {});
    });
});

// What the six protection changes of a pass cost by themselves, for comparison.
bench::Registration protectionChanges("six protection changes alone", [] {
    return std::function<void()>([] {
        for (uint32_t address : {0x468D09u, 0x468D92u, 0x4D73DCu}) {
            DWORD old = 0;
            VirtualProtect(Ptr<void>(address), 1, PAGE_EXECUTE_READWRITE, &old);
            VirtualProtect(Ptr<void>(address), 1, old, &old);
        }
    });
});

}  // namespace
