// The host's address range as the tests own it inside the simulated host.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace sim {

constexpr uint32_t HostRangeBegin = 0x42B000;
constexpr uint32_t HostRangeEnd = 0xA00000;

// Scratch host memory for code and objects the tests build (never a host address the
// plug-ins use).
constexpr uint32_t ScratchCode = 0x9F0000;
constexpr uint32_t ScratchData = 0x9F1000;

// Zeroes the whole host range.
void ResetHostMemory();

template <class T>
T& At(uint32_t address) {
    return *reinterpret_cast<T*>(uintptr_t(address));
}
template <class T>
T* Ptr(uint32_t address) {
    return reinterpret_cast<T*>(uintptr_t(address));
}
inline uint32_t Addr(const void* pointer) { return uint32_t(uintptr_t(pointer)); }

void PokeBytes(uint32_t address, std::initializer_list<uint8_t> bytes);
std::vector<uint8_t> ReadBytes(uint32_t address, uint32_t count);

// Writes JMP rel32 at address to target: a host routine double placed at its address.
void PlaceJump(uint32_t address, const void* target);

// The four signature bytes the camera plug-in probes for build 1.0.
void PoseAsCameraBuild10();

// A copy of the host range and the differences against it.
struct HostSnapshot {
    std::vector<uint8_t> bytes;
};
HostSnapshot SnapshotHost();

struct ChangedRange {
    uint32_t address;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};
// Runs of changed bytes, in address order.
std::vector<ChangedRange> ChangesSince(const HostSnapshot& snapshot);

// Every changed byte: address -> new value.
using ByteMap = std::map<uint32_t, uint8_t>;
ByteMap ChangedBytes(const HostSnapshot& snapshot);
// The bytes that writing these ranges over the snapshot would change.
using Patch = std::pair<uint32_t, std::vector<uint8_t>>;
ByteMap ExpectedChanges(const HostSnapshot& snapshot, const std::vector<Patch>& patches);

// The bytes of CALL/JMP rel32 at site aimed at target.
std::vector<uint8_t> Rel32Bytes(uint8_t opcode, uint32_t site, uint32_t target);
// The destination of a CALL/JMP rel32 at site.
uint32_t Rel32Target(uint32_t site);

inline uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

}  // namespace sim
