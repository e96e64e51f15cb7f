#include "camera_plugin/host/host_patch.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsWritableProtection(DWORD protection) {
    if (protection & (PAGE_GUARD | PAGE_NOACCESS)) return false;
    const DWORD base = protection & 0xFF;
    return base == PAGE_READWRITE || base == PAGE_WRITECOPY || base == PAGE_EXECUTE_READWRITE ||
           base == PAGE_EXECUTE_WRITECOPY;
}

// Whether every byte of the range lies in committed, writable memory.
bool IsRangeWritable(HostAddress address, uint32_t size) {
    const uint64_t end = uint64_t(address) + size;
    uint64_t cursor = address;
    while (cursor < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(reinterpret_cast<const void*>(uintptr_t(cursor)), &info, sizeof info) == 0)
            return false;
        if (info.State != MEM_COMMIT || !IsWritableProtection(info.Protect)) return false;
        const uint64_t regionEnd = uint64_t(uintptr_t(info.BaseAddress)) + info.RegionSize;
        if (regionEnd <= cursor) return false;
        cursor = regionEnd;
    }
    return true;
}

void WriteDisplacementInstruction(HostAddress site, uint8_t opcode, const void* routine) {
    WriteHostByte(site, opcode);
    const uint32_t displacement = uint32_t(uintptr_t(routine)) - site - 5;
    WriteHostBytes(site + 1, &displacement, sizeof displacement);
}

}  // namespace

HostUnprotectScope::HostUnprotectScope(HostAddress address, uint32_t size)
    : address(address), size(size), oldProtection(0), changed(false), writable(false) {
    DWORD old = 0;
    changed = VirtualProtect(reinterpret_cast<void*>(uintptr_t(address)), size,
                             PAGE_EXECUTE_READWRITE, &old) != 0;
    oldProtection = old;
    writable = changed || IsRangeWritable(address, size);
}

HostUnprotectScope::~HostUnprotectScope() {
    if (!changed) return;
    DWORD ignored = 0;
    VirtualProtect(reinterpret_cast<void*>(uintptr_t(address)), size, oldProtection, &ignored);
}

void WriteHostByte(HostAddress address, uint8_t value) {
    HostUnprotectScope scope(address, 1);
    if (scope.writable) *reinterpret_cast<volatile uint8_t*>(uintptr_t(address)) = value;
}

void FillHostNops(HostAddress address, uint32_t count) {
    if (count == 0) return;
    HostUnprotectScope scope(address, count);
    if (scope.writable) std::memset(reinterpret_cast<void*>(uintptr_t(address)), 0x90, count);
}

void WriteHostCall(HostAddress site, const void* routine) {
    WriteDisplacementInstruction(site, 0xE8, routine);
}

void WriteHostJump(HostAddress site, const void* routine) {
    WriteDisplacementInstruction(site, 0xE9, routine);
}

void WriteHostBytes(HostAddress address, const void* source, uint32_t count) {
    HostUnprotectScope scope(address, count);
    if (scope.writable) std::memcpy(reinterpret_cast<void*>(uintptr_t(address)), source, count);
}
