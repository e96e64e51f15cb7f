// The camera plug-in loaded into the simulated host for the aiming and controls tests, with
// helpers that set up the player on foot and enter the plug-in through its patched sites.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/sim/kelvora_host.h"

namespace aiming_test {

using namespace sim;
using namespace sim::kelvora;

// Host sites and bytes these tests enter or watch.
constexpr uint32_t CameraStepSite = 0x46D500;
constexpr uint32_t CrosshairSite = 0x505EA9;
constexpr uint32_t CharacterUpdateSite = 0x4E72FC;
constexpr uint32_t ReleaseLockSite = 0x4F22A0;
constexpr uint32_t TorsoRoutine = 0x4EDDB0;
constexpr uint32_t MouseAimBranchA = 0x468D09;
constexpr uint32_t MouseAimBranchB = 0x468D92;
constexpr uint32_t AimingBranch = 0x4D73DC;
constexpr uint8_t JE = 0x74;
constexpr uint8_t JNE = 0x75;

constexpr uint32_t FireHeldSites[] = {0x4F203A, 0x4F20AB};
constexpr uint32_t FirePressedSites[] = {0x4F20DB, 0x4F2086};
constexpr uint32_t RightStickXSites[] = {0x45A1C8, 0x45AF7A, 0x46007A, 0x468E5D};
constexpr uint32_t RightStickYSites[] = {0x45A1E8, 0x45AF9A, 0x46009A, 0x468E71};
constexpr uint32_t WalkAxisASites[] = {0x493CEA, 0x4F13E2, 0x487ED6, 0x4CA5CF, 0x468EA4,
                                       0x493C8A, 0x4F1987, 0x4CA779, 0x487E51, 0x493D4A,
                                       0x493C2A, 0x4F3226, 0x4F181D, 0x4C791A};
constexpr uint32_t WalkAxisBSites[] = {0x4F3246, 0x4C7938, 0x4F1832, 0x4F13F8,
                                       0x4CA5F3, 0x468EBC, 0x4CA7A0, 0x4F199D};

template <size_t N>
std::vector<uint32_t> SiteList(const uint32_t (&sites)[N]) {
    return {sites, sites + N};
}
inline std::vector<uint32_t> JoinSites(std::initializer_list<std::vector<uint32_t>> groups) {
    std::vector<uint32_t> sites;
    for (const auto& group : groups) sites.insert(sites.end(), group.begin(), group.end());
    return sites;
}

// Scratch objects of these tests (BuildHostWorld owns 0x9F1000-0x9F5000).
constexpr uint32_t OtherPadAddress = 0x9F6000;
constexpr uint32_t TextureAddress = 0x9F7000;
constexpr uint32_t SecondCharacterAddress = 0x9F8000;

constexpr uint32_t ControlsPageSize = 388;
// The controls page record as the host's menu reads it, spelled out byte by byte.
std::vector<uint8_t> ExpectedControlsPage();

enum class Bridge { None, Inactive, Active };

// The weapon type every aiming scene holds: it aims and shows the crosshair.
constexpr int32_t Gun = 4;

class AimingTest : public KelvoraTest {
protected:
    // A fresh host (memory, doubles, world) and GInput loaded when asked for.
    void Prepare(Bridge bridge = Bridge::None);
    // Loads the plug-in with bEnable=1 and these lines; keeps the installers' protection
    // changes in installProtects and clears the seam.
    void Load(const std::vector<const char*>& settings);
    void Start(const std::vector<const char*>& settings, Bridge bridge = Bridge::None) {
        Prepare(bridge);
        Load(settings);
    }

    // The player on foot, holding a gun (weapon type 4) in its current slot, with the aim input held
    // and the follow cam mode 4: every aim condition holds.
    void ReadyToAim();

    // One pass of the aiming hook, entered through the host's call at 0x46D500.
    SiteResult Pass();
    // What the last pass decided, read from the host branch it bends.
    bool Aiming() const;

    // Whether the address lies in the loaded plug-in's image (a routine of the plug-in).
    bool InsidePlugin(uint32_t address) const;
    // The sites among these whose opcode byte the installers wrote, in the order written.
    std::vector<uint32_t> SitesWritten(const std::vector<uint32_t>& sites) const;

    HostCamRecord& Cam() { return HostCam(); }
    HostPad& Pad() { return HostPad0(); }
    HostCharacter& Player() { return *world.character; }

    FakeGInputControl* ginput = nullptr;
    // The protection changes the installers made in the latest Load.
    std::vector<ProtectCall> installProtects;
};

}  // namespace aiming_test
