#pragma once

#include <cstdint>

// What the tests set and read of the stand-in GInput.
struct FakeGInputControl {
    int32_t returnNull;   // the ordinal-1 export answers null
    int32_t padActive;    // slot 2's answer
    int32_t exportCalls;
    int32_t slotCalls[6];
};

using FakeGInputControlBlockFn = FakeGInputControl* (__cdecl*)();
