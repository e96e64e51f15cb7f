// Entry of a test DLL run by the simulated host.
#include <gtest/gtest.h>

#include <vector>

#include "tests/sim/host_fake.h"

namespace sim {
std::vector<uint32_t>& CallLog() {
    static std::vector<uint32_t> log;
    return log;
}
bool Recording = true;
}  // namespace sim

extern "C" __declspec(dllexport) int RunTests(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
