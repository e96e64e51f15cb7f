// The base of every test in the simulated host: host memory zeroed, the Windows seam and
// the call log emptied, no stand-in GInput loaded.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/fake_ginput/fake_ginput.h"
#include "tests/sim/enter_site.h"
#include "tests/sim/host_fake.h"
#include "tests/sim/host_memory.h"
#include "tests/sim/plugin_loader.h"
#include "tests/sim/windows_seam.h"

namespace sim {

class SimHostTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the stand-in GInput (it stays loaded until the test ends).
    FakeGInputControl& LoadFakeGInput();
};

}  // namespace sim
