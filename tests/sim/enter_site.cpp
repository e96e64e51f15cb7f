#include "tests/sim/enter_site.h"

#include <cstring>
#include <vector>

#include "tests/sim/host_memory.h"

extern "C" void SimEnterHostSite(uint32_t site, uint32_t ecx, const uint32_t* args,
                                 uint32_t argc, sim::SiteResult* out);
extern "C" void SimHostSiteReturn();

namespace sim {

SiteResult EnterHostSite(uint32_t site, uint32_t thisPointer,
                         std::initializer_list<uint32_t> args) {
    const std::vector<uint8_t> borrowed = ReadBytes(site + 5, 5);
    PlaceJump(site + 5, reinterpret_cast<const void*>(&SimHostSiteReturn));
    SiteResult result{};
    SimEnterHostSite(site, thisPointer, args.begin(), uint32_t(args.size()), &result);
    std::memcpy(Ptr<void>(site + 5), borrowed.data(), borrowed.size());
    return result;
}

SiteResult CallHostRoutine(uint32_t address, uint32_t thisPointer,
                           std::initializer_list<uint32_t> args) {
    const std::vector<uint8_t> call = Rel32Bytes(0xE8, ScratchCode, address);
    std::memcpy(Ptr<void>(ScratchCode), call.data(), call.size());
    return EnterHostSite(ScratchCode, thisPointer, args);
}

}  // namespace sim
