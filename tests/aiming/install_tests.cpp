// What the aiming and controls installers write into the host at process attach, for the
// edge configurations and with every option on: each site exactly, and no other host byte.
#include <algorithm>
#include <utility>

#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

constexpr uint32_t CrosshairByteA = 0x50554D;
constexpr uint32_t CrosshairByteB = 0x505628;

// Every boolean option but the torso fix off, the walk key and the torso fix as given.
std::vector<const char*> OnlyEnabled(const char* keyWalk, const char* torsoFix = "bTorsoFix=0") {
    return {"bProcess_FollowPed=0",
            "bProcess_FollowVeh=0",
            "bControlVehParts=0",
            "bForceAutoAim=0",
            torsoFix,
            "bNoAutoFoc=0",
            "bIVOnFootCamera=0",
            "bIVVehicleCamera=0",
            "bDynamicFOV=0",
            keyWalk};
}

// The host ranges the camera hooks write (CALLs, NOP fills and one byte), which another
// installer of the plug-in owns.
const std::vector<std::pair<uint32_t, uint32_t>> CameraHookRanges = {
    {0x459A7C, 5}, {0x459A65, 2}, {0x4F1F74, 1}, {0x469226, 7}, {0x469260, 7}, {0x4F2685, 5},
    {0x469292, 5}, {0x4C7673, 5}, {0x4F03D5, 5}, {0x4D76CE, 5}, {0x45DB98, 5}, {0x4E6562, 5},
    {0x55D88B, 5}, {0x560C25, 5}, {0x468E46, 5}, {0x459A54, 5}, {0x459B36, 5}, {0x459A16, 5}};

bool InCameraHookRange(uint32_t address) {
    return std::any_of(CameraHookRanges.begin(), CameraHookRanges.end(), [&](const auto& range) {
        return address >= range.first && address < range.first + range.second;
    });
}

class InstallTest : public AimingTest {
protected:
    // A CALL or JMP at site aimed into the plug-in, as the patch the host now holds.
    Patch Rel32Patch(uint8_t opcode, uint32_t site) {
        EXPECT_EQ(At<uint8_t>(site), opcode) << std::hex << site;
        const uint32_t target = Rel32Target(site);
        EXPECT_TRUE(InsidePlugin(target)) << std::hex << site;
        return {site, Rel32Bytes(opcode, site, target)};
    }
    void ExpectOnlyChanges(const HostSnapshot& before, const std::vector<Patch>& patches) {
        EXPECT_EQ(ChangedBytes(before), ExpectedChanges(before, patches));
    }
};

TEST_F(InstallTest, EnabledWithEveryOtherOptionOffOnlyTheAimingHookIsWritten) {
    Prepare();
    const HostSnapshot before = SnapshotHost();
    Load(OnlyEnabled("keyWalk="));
    ExpectOnlyChanges(before, {Rel32Patch(0xE8, CameraStepSite)});
    EXPECT_EQ(installProtects.size(), 4u);
    Pass();
    EXPECT_EQ(CameraStep::calls.size(), 1u);  // the host's step still runs
}

TEST_F(InstallTest, AWalkKeyAloneAddsTheTwentyTwoWalkCalls) {
    Prepare();
    const HostSnapshot before = SnapshotHost();
    Load(OnlyEnabled("keyWalk=0x12"));
    std::vector<Patch> patches = {Rel32Patch(0xE8, CameraStepSite)};
    for (uint32_t site : JoinSites({SiteList(WalkAxisASites), SiteList(WalkAxisBSites)}))
        patches.push_back(Rel32Patch(0xE8, site));
    ExpectOnlyChanges(before, patches);
    EXPECT_EQ(patches.size(), 23u);
}

TEST_F(InstallTest, TorsoFixIsWrittenWithoutFollowPed) {
    Prepare();
    const HostSnapshot before = SnapshotHost();
    Load(OnlyEnabled("keyWalk=", "bTorsoFix=1"));
    ExpectOnlyChanges(before, {Rel32Patch(0xE8, CameraStepSite), Rel32Patch(0xE9, TorsoRoutine)});
}

TEST_F(InstallTest, EveryOptionOnWritesEachAimingAndControlsSiteAndNothingElseOfItsOwn) {
    Prepare();
    // Host bytes the installers set to 0 are non-zero before, so that their writes show.
    PokeBytes(CrosshairByteA, {0xCC});
    PokeBytes(CrosshairByteB, {0xCC});
    std::memset(Ptr<void>(HostControlsPageAddress), 0xCC, ControlsPageSize);
    const HostSnapshot before = SnapshotHost();
    Load({"bProcess_FollowPed=1", "bProcess_FollowVeh=1", "bControlVehParts=1", "bForceAutoAim=1",
          "bTorsoFix=1", "bNoAutoFoc=1", "bIVOnFootCamera=1", "bIVVehicleCamera=1", "bDynamicFOV=1",
          "keyWalk=0x12"});

    std::vector<Patch> patches = {
        Rel32Patch(0xE8, CameraStepSite),
        {CrosshairByteA, {0}},
        {CrosshairByteB, {0}},
        Rel32Patch(0xE8, CrosshairSite),
        {HostControlsPageAddress, ExpectedControlsPage()},
        Rel32Patch(0xE8, CharacterUpdateSite),
        Rel32Patch(0xE9, TorsoRoutine),
        Rel32Patch(0xE8, ReleaseLockSite),
    };
    for (uint32_t site : JoinSites({SiteList(FireHeldSites), SiteList(FirePressedSites),
                                    SiteList(RightStickXSites), SiteList(RightStickYSites),
                                    SiteList(WalkAxisASites), SiteList(WalkAxisBSites)}))
        patches.push_back(Rel32Patch(0xE8, site));
    EXPECT_EQ(patches.size(), 42u);

    // Our sites hold exactly the patches; any other change is a camera hook's.
    const ByteMap ours = ExpectedChanges(before, patches);
    const ByteMap changed = ChangedBytes(before);
    for (const auto& [address, value] : ours) {
        const auto found = changed.find(address);
        ASSERT_NE(found, changed.end()) << std::hex << address;
        EXPECT_EQ(found->second, value) << std::hex << address;
    }
    for (const auto& [address, value] : changed)
        if (!ours.count(address)) {
            EXPECT_TRUE(InCameraHookRange(address)) << std::hex << address;
        }

    // No write site overlaps another, a camera hook's or a branch byte rewritten per pass.
    std::vector<std::pair<uint32_t, uint32_t>> ranges = CameraHookRanges;
    for (const Patch& patch : patches)
        ranges.push_back({patch.first, uint32_t(patch.second.size())});
    for (uint32_t branch : {MouseAimBranchA, MouseAimBranchB, AimingBranch}) {
        ranges.push_back({branch, 1});
        EXPECT_EQ(At<uint8_t>(branch), 0) << std::hex << branch;
    }
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i)
        EXPECT_LE(ranges[i - 1].first + ranges[i - 1].second, ranges[i].first)
            << std::hex << ranges[i].first;
}

}  // namespace
}  // namespace aiming_test
