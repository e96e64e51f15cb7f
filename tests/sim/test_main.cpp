// Entry of a test DLL run by the simulated host.
#include <gtest/gtest.h>

extern "C" __declspec(dllexport) int RunTests(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
