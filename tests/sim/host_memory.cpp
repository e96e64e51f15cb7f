#include "tests/sim/host_memory.h"

#include "tests/sim/host_fake.h"

namespace sim {

std::vector<uint32_t>& CallLog() {
    static std::vector<uint32_t> log;
    return log;
}
bool Recording = true;

void ResetHostMemory() {
    std::memset(Ptr<void>(HostRangeBegin), 0, HostRangeEnd - HostRangeBegin);
}

void PokeBytes(uint32_t address, std::initializer_list<uint8_t> bytes) {
    std::memcpy(Ptr<void>(address), bytes.begin(), bytes.size());
}

std::vector<uint8_t> ReadBytes(uint32_t address, uint32_t count) {
    const uint8_t* begin = Ptr<const uint8_t>(address);
    return std::vector<uint8_t>(begin, begin + count);
}

void PlaceJump(uint32_t address, const void* target) {
    const std::vector<uint8_t> bytes = Rel32Bytes(0xE9, address, Addr(target));
    std::memcpy(Ptr<void>(address), bytes.data(), bytes.size());
}

void PoseAsCameraBuild10() { At<uint32_t>(0x5C1E75) = 0xB85548EC; }

HostSnapshot SnapshotHost() {
    const uint8_t* begin = Ptr<const uint8_t>(HostRangeBegin);
    return {std::vector<uint8_t>(begin, begin + (HostRangeEnd - HostRangeBegin))};
}

std::vector<ChangedRange> ChangesSince(const HostSnapshot& snapshot) {
    std::vector<ChangedRange> changes;
    const uint8_t* now = Ptr<const uint8_t>(HostRangeBegin);
    const uint32_t size = HostRangeEnd - HostRangeBegin;
    for (uint32_t i = 0; i < size; ++i) {
        if (now[i] == snapshot.bytes[i]) continue;
        ChangedRange range{HostRangeBegin + i, {}, {}};
        while (i < size && now[i] != snapshot.bytes[i]) {
            range.before.push_back(snapshot.bytes[i]);
            range.after.push_back(now[i]);
            ++i;
        }
        changes.push_back(std::move(range));
    }
    return changes;
}

ByteMap ChangedBytes(const HostSnapshot& snapshot) {
    ByteMap changed;
    const uint8_t* now = Ptr<const uint8_t>(HostRangeBegin);
    for (uint32_t i = 0; i < HostRangeEnd - HostRangeBegin; ++i)
        if (now[i] != snapshot.bytes[i]) changed[HostRangeBegin + i] = now[i];
    return changed;
}

ByteMap ExpectedChanges(const HostSnapshot& snapshot, const std::vector<Patch>& patches) {
    ByteMap expected;
    for (const Patch& patch : patches)
        for (uint32_t i = 0; i < patch.second.size(); ++i) {
            const uint32_t address = patch.first + i;
            if (snapshot.bytes[address - HostRangeBegin] != patch.second[i])
                expected[address] = patch.second[i];
        }
    return expected;
}

std::vector<uint8_t> Rel32Bytes(uint8_t opcode, uint32_t site, uint32_t target) {
    const uint32_t displacement = target - site - 5;
    return {opcode, uint8_t(displacement), uint8_t(displacement >> 8), uint8_t(displacement >> 16),
            uint8_t(displacement >> 24)};
}

uint32_t Rel32Target(uint32_t site) { return site + 5 + At<uint32_t>(site + 1); }

}  // namespace sim
