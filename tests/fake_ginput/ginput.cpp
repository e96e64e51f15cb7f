// A stand-in for GInput under its module name "GInputIII.asi": its ordinal-1 export hands
// out an interface object with GInput's six-slot table (Microsoft layout), or null.
#include <cstdint>

#include "tests/fake_ginput/fake_ginput.h"

namespace {

FakeGInputControl control;

struct Interface {
    const void* const* table;
};

void* __thiscall Slot0(Interface* self, uint32_t) {
    ++control.slotCalls[0];
    return self;
}
bool __thiscall Slot1(Interface*) {
    ++control.slotCalls[1];
    return false;
}
bool __thiscall Slot2IsPadActive(Interface*) {
    ++control.slotCalls[2];
    return control.padActive != 0;
}
int32_t __thiscall Slot3(Interface*) {
    ++control.slotCalls[3];
    return 0;
}
uint32_t __thiscall Slot4(Interface*, uint32_t, uint32_t) {
    ++control.slotCalls[4];
    return 0;
}
uint32_t __thiscall Slot5(Interface*, uint32_t, uint32_t) {
    ++control.slotCalls[5];
    return 0;
}

const void* const table[6] = {
    reinterpret_cast<const void*>(&Slot0), reinterpret_cast<const void*>(&Slot1),
    reinterpret_cast<const void*>(&Slot2IsPadActive), reinterpret_cast<const void*>(&Slot3),
    reinterpret_cast<const void*>(&Slot4), reinterpret_cast<const void*>(&Slot5)};

Interface object{table};

}  // namespace

extern "C" void* __cdecl GInputInterface() {
    ++control.exportCalls;
    return control.returnNull ? nullptr : &object;
}

extern "C" FakeGInputControl* __cdecl FakeGInputControlBlock() { return &control; }
