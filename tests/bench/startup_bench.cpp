// The cost of the plug-in's process attach with every option on (start-up, not per frame).
#include "tests/bench/frame_bench.h"
#include "tests/sim/kelvora_host.h"

namespace {

bench::Registration attach("camera plug-in attach", [] {
    return std::function<void()>([] {
        sim::ResetHostMemory();
        sim::PoseAsCameraBuild10();
        auto plugin = sim::LoadCameraPlugin(std::string(
            "bEnable=1\nbProcess_FollowPed=1\nbProcess_FollowVeh=1\nbTorsoFix=1\nkeyWalk=0x12\n"));
    });
});

}  // namespace
