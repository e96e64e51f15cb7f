// The bridge to GInput, an optional pad-input plug-in loaded as "GInputIII.asi". Its
// interface object has the layout 32-bit Windows compilers give a class with six virtual
// member functions; the table is spelled out here because g++ lays vtables out otherwise.
#pragma once

#include <cstdint>

struct PadBridge;

struct PadBridgeTable {
    void* (__thiscall* destroy)(PadBridge* self, uint32_t flags);  // slot 0, scalar deleting
    bool (__thiscall* query1)(PadBridge* self);                   // slot 1
    bool (__thiscall* isPadActive)(PadBridge* self);              // slot 2, the only one used
    int32_t (__thiscall* query3)(PadBridge* self);                // slot 3
    uint32_t (__thiscall* operation4)(PadBridge* self, uint32_t, uint32_t);  // slot 4
    uint32_t (__thiscall* operation5)(PadBridge* self, uint32_t, uint32_t);  // slot 5
};

struct PadBridge {
    const PadBridgeTable* table;
};

// GInput's object, or the do-nothing bridge; null only before BindPadBridge.
extern PadBridge* ActivePadBridge;

// Binds GInput's interface, or the do-nothing bridge when GInput is absent. Runs once.
void BindPadBridge();

// Whether pad input is to be used, asked of the active bridge.
inline bool IsPadActive() { return ActivePadBridge->table->isPadActive(ActivePadBridge); }
