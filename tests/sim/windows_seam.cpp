#include "tests/sim/windows_seam.h"

#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

WindowsSeam seam;

BOOL WINAPI SeamVirtualProtect(LPVOID address, SIZE_T size, DWORD protection, PDWORD old) {
    const uint32_t at = uint32_t(uintptr_t(address));
    if (seam.failProtect && seam.failProtect(at, uint32_t(size))) {
        seam.protectCalls.push_back({at, uint32_t(size), protection, false});
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const BOOL result = VirtualProtect(address, size, protection, old);
    seam.protectCalls.push_back({at, uint32_t(size), protection, result != FALSE});
    return result;
}

SIZE_T WINAPI SeamVirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T size) {
    ++seam.virtualQueryCalls;
    return VirtualQuery(address, info, size);
}

int WINAPI SeamMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    seam.messageBoxes.push_back(
        {text ? text : "", caption ? caption : "", type, owner != nullptr});
    return IDOK;
}

SHORT WINAPI SeamGetKeyState(int key) {
    seam.keyStateQueries.push_back(key);
    auto found = seam.keyStates.find(key);
    return found == seam.keyStates.end() ? 0 : found->second;
}

BOOL WINAPI SeamGetModuleHandleExA(DWORD flags, LPCSTR name, HMODULE* module) {
    ModuleLookup lookup{flags, (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) || name == nullptr
                                   ? std::string()
                                   : std::string(name)};
    seam.moduleLookups.push_back(lookup);
    if (seam.failModuleLookup && seam.failModuleLookup(lookup)) {
        if (module) *module = nullptr;
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    return GetModuleHandleExA(flags, name, module);
}

FARPROC WINAPI SeamGetProcAddress(HMODULE module, LPCSTR name) {
    if (HIWORD(uintptr_t(name)) == 0)
        seam.procLookups.push_back(std::string("#").append(std::to_string(uintptr_t(name))));
    else
        seam.procLookups.push_back(name);
    return GetProcAddress(module, name);
}

void* __cdecl SeamMalloc(size_t size) {
    ++seam.allocations;
    return std::malloc(size);
}
void* __cdecl SeamCalloc(size_t count, size_t size) {
    ++seam.allocations;
    return std::calloc(count, size);
}
void* __cdecl SeamRealloc(void* block, size_t size) {
    ++seam.allocations;
    return std::realloc(block, size);
}

}  // namespace

WindowsSeam& Seam() { return seam; }
void ResetSeam() { seam = WindowsSeam(); }

void* SeamDoubleFor(const char* importName) {
    struct Binding {
        const char* name;
        void* address;
    };
    static const Binding bindings[] = {
        {"VirtualProtect", reinterpret_cast<void*>(&SeamVirtualProtect)},
        {"VirtualQuery", reinterpret_cast<void*>(&SeamVirtualQuery)},
        {"MessageBoxA", reinterpret_cast<void*>(&SeamMessageBoxA)},
        {"GetKeyState", reinterpret_cast<void*>(&SeamGetKeyState)},
        {"GetModuleHandleExA", reinterpret_cast<void*>(&SeamGetModuleHandleExA)},
        {"GetProcAddress", reinterpret_cast<void*>(&SeamGetProcAddress)},
        {"malloc", reinterpret_cast<void*>(&SeamMalloc)},
        {"calloc", reinterpret_cast<void*>(&SeamCalloc)},
        {"realloc", reinterpret_cast<void*>(&SeamRealloc)},
    };
    for (const Binding& binding : bindings)
        if (std::strcmp(binding.name, importName) == 0) return binding.address;
    return nullptr;
}

}  // namespace sim
