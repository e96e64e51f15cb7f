// The Windows calls a plug-in makes, as the tests see them. The loader binds the plug-in's
// imports of these functions to the doubles below; everything else reaches Windows itself.
// Each double records its calls and passes through to Windows unless told otherwise.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sim {

struct ProtectCall {
    uint32_t address;
    uint32_t size;
    uint32_t newProtection;
    bool succeeded;
};

struct MessageBoxCall {
    std::string text;
    std::string caption;
    uint32_t type;
    bool hasOwner;
};

struct ModuleLookup {
    uint32_t flags;
    std::string name;  // empty for a lookup by address
};

struct WindowsSeam {
    // VirtualProtect: fails (without changing anything) where failProtect answers true.
    std::vector<ProtectCall> protectCalls;
    std::function<bool(uint32_t address, uint32_t size)> failProtect;
    int virtualQueryCalls = 0;

    std::vector<MessageBoxCall> messageBoxes;  // never shown; answered IDOK

    // GetKeyState: answered from keyStates (0 for keys not listed).
    std::map<int, int16_t> keyStates;
    std::vector<int> keyStateQueries;

    // GetModuleHandleExA: fails where failModuleLookup answers true.
    std::vector<ModuleLookup> moduleLookups;
    std::function<bool(const ModuleLookup&)> failModuleLookup;

    // GetProcAddress: names, or "#n" for ordinal n.
    std::vector<std::string> procLookups;

    // Heap allocations through the C runtime (malloc, calloc, realloc).
    int allocations = 0;
};

// The seam's state; Reset() before each test.
WindowsSeam& Seam();
void ResetSeam();

// The double bound in place of an import of the given name, or null for none.
void* SeamDoubleFor(const char* importName);

}  // namespace sim
