// Entering the plug-ins through the host's patched sites, as the host would.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace sim {

struct SiteResult {
    uint32_t espBefore;  // ESP at the site, the stack arguments pushed
    uint32_t espAfter;   // ESP when control came back to site + 5
    uint32_t eax;
    uint32_t edx;
    uint16_t fpuStatusBefore;
    uint16_t fpuStatusAfter;

    // Bytes of stack arguments the callee removed.
    uint32_t removedBytes() const { return espAfter - espBefore; }
    // The x87 stack depth the callee left behind (positive: values pushed).
    int fpuDepthChange() const {
        const int topBefore = (fpuStatusBefore >> 11) & 7, topAfter = (fpuStatusAfter >> 11) & 7;
        return (topBefore - topAfter + 8) % 8;
    }
};

// Runs the 5-byte CALL at site with ECX = thisPointer and the given 32-bit stack
// arguments (first argument first). The five bytes after the site are borrowed for the
// way back and restored afterwards.
SiteResult EnterHostSite(uint32_t site, uint32_t thisPointer, std::initializer_list<uint32_t> args);

// Calls the host routine at address from a scratch call site, as a host caller would.
SiteResult CallHostRoutine(uint32_t address, uint32_t thisPointer,
                           std::initializer_list<uint32_t> args);

}  // namespace sim
