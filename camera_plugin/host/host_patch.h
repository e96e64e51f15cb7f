// The only way the camera plug-in writes host memory: each write is wrapped in a change of
// page protection to PAGE_EXECUTE_READWRITE and back.
#pragma once

#include <cstdint>

using HostAddress = uint32_t;

// Makes [address, address + size) writable for the lifetime of the scope.
// When the protection change fails, the range counts as writable only if it already was;
// the old protection is put back only after a change that succeeded.
struct HostUnprotectScope {
    HostAddress address;
    uint32_t size;
    uint32_t oldProtection;
    bool changed;
    bool writable;

    HostUnprotectScope(HostAddress address, uint32_t size);
    ~HostUnprotectScope();
    HostUnprotectScope(const HostUnprotectScope&) = delete;
    HostUnprotectScope& operator=(const HostUnprotectScope&) = delete;
};

void WriteHostByte(HostAddress address, uint8_t value);
void FillHostNops(HostAddress address, uint32_t count);
void WriteHostCall(HostAddress site, const void* routine);
void WriteHostJump(HostAddress site, const void* routine);
void WriteHostBytes(HostAddress address, const void* source, uint32_t count);
