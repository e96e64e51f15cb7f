#include "tests/sim/fixture.h"

namespace sim {

namespace {

void UnloadFakeGInput() {
    // The camera plug-in takes a reference it never gives back; drop them all.
    while (HMODULE ginput = GetModuleHandleA("GInputIII.asi")) FreeLibrary(ginput);
}

}  // namespace

void SimHostTest::SetUp() {
    UnloadFakeGInput();
    ResetHostMemory();
    ResetSeam();
    CallLog().clear();
    Recording = true;
}

void SimHostTest::TearDown() { UnloadFakeGInput(); }

FakeGInputControl& SimHostTest::LoadFakeGInput() {
    HMODULE ginput = LoadLibraryA(TestBinaryPath("GInputIII.asi").c_str());
    EXPECT_NE(ginput, nullptr);
    auto control = reinterpret_cast<FakeGInputControlBlockFn>(
        reinterpret_cast<void*>(GetProcAddress(ginput, "FakeGInputControlBlock")))();
    *control = FakeGInputControl{};
    return *control;
}

}  // namespace sim
