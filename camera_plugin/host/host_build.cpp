#include "camera_plugin/host/host_build.h"

int32_t HostBuildIndex = -1;

namespace {

constexpr uint32_t HostBuildSignature = 0xB85548EC;

// Each probe address is an executable's entry point plus 5; the first match decides.
struct BuildProbe {
    uint32_t address;
    int32_t index;
};
constexpr BuildProbe BuildProbes[] = {
    {0x5C1E75, 1},  // host game 1.0
    {0x5C2135, 2},  // host game 1.1
    {0x5C6FD5, 3},  // host game 1.1, second executable
    {0x667BF5, 4},  // another game's executable
    {0x667C45, 5},  // another build of that game
    {0x666BA5, 6},  // a further build of that game
};

void ProbeHostBuild() {
    HostBuildIndex = 0;
    for (const BuildProbe& probe : BuildProbes) {
        if (*reinterpret_cast<const volatile uint32_t*>(probe.address) == HostBuildSignature) {
            HostBuildIndex = probe.index;
            return;
        }
    }
}

}  // namespace

uint32_t SelectHostAddress(uint32_t build10Address) {
    if (HostBuildIndex == -1) ProbeHostBuild();
    return HostBuildIndex == 1 ? build10Address : 0;
}

bool IsHostBuild10() { return SelectHostAddress(1) == 1; }
