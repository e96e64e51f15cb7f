// With every option on, the camera plug-in writes exactly its sixty host sites, and nothing
// else; each group of CALLs reaches one routine of the plug-in, and no two groups share one.
#include <set>

#include "tests/sim/kelvora_host.h"

namespace {

using namespace sim;

struct SiteGroup {
    const char* routine;
    uint8_t opcode;
    std::vector<uint32_t> sites;
};

const std::vector<SiteGroup> RedirectedSites = {
    {"OnFootCameraDispatch", 0xE8, {0x459A7C}},
    {"RotationPredicate", 0xE8, {0x4F2685, 0x469292, 0x4C7673, 0x4F03D5, 0x4D76CE, 0x45DB98}},
    {"AimPredicate", 0xE8, {0x4E6562, 0x55D88B, 0x560C25}},
    {"NoOperation", 0xE8, {0x468E46}},
    {"VehicleCameraEntry", 0xE8, {0x459A54, 0x459B36, 0x459A16}},
    {"AimingHook", 0xE8, {0x46D500}},
    {"DrawCrosshair", 0xE8, {0x505EA9}},
    {"FireHeldOverride", 0xE8, {0x4F203A, 0x4F20AB}},
    {"FirePressedOverride", 0xE8, {0x4F20DB, 0x4F2086}},
    {"RightStickXOverride", 0xE8, {0x45A1C8, 0x45AF7A, 0x46007A, 0x468E5D}},
    {"RightStickYOverride", 0xE8, {0x45A1E8, 0x45AF9A, 0x46009A, 0x468E71}},
    {"WalkAxisAOverride", 0xE8, {0x493CEA, 0x4F13E2, 0x487ED6, 0x4CA5CF, 0x468EA4, 0x493C8A,
                                 0x4F1987, 0x4CA779, 0x487E51, 0x493D4A, 0x493C2A, 0x4F3226,
                                 0x4F181D, 0x4C791A}},
    {"WalkAxisBOverride", 0xE8, {0x4F3246, 0x4C7938, 0x4F1832, 0x4F13F8, 0x4CA5F3, 0x468EBC,
                                 0x4CA7A0, 0x4F199D}},
    {"PlayerUpdateHook", 0xE8, {0x4E72FC}},
    {"TorsoStub", 0xE9, {0x4EDDB0}},
    {"AimGuardHook", 0xE8, {0x4F22A0}},
};

struct OtherWrite {
    uint32_t address;
    std::vector<uint8_t> bytes;
};

const std::vector<OtherWrite> OtherWrites = {
    {0x459A65, std::vector<uint8_t>(2, 0x90)},
    {0x469226, std::vector<uint8_t>(7, 0x90)},
    {0x469260, std::vector<uint8_t>(7, 0x90)},
    {0x4F1F74, {0xFF}},
    {0x50554D, {0x00}},
    {0x505628, {0x00}},
};

constexpr uint32_t ControlsPage = 0x614E3C;
constexpr uint32_t ControlsPageSize = 388;

class AllSitesTest : public SimHostTest {};

TEST_F(AllSitesTest, EveryOptionOnWritesTheSixtySitesAndNothingElse) {
    // Host code that is not zero, so that writes of 0 show.
    std::memset(Ptr<void>(0x430000), 0xCC, 0x300000);
    PoseAsCameraBuild10();
    const HostSnapshot before = SnapshotHost();
    auto plugin = LoadCameraPlugin(std::string(
        "bEnable=1\nbProcess_FollowPed=1\nbProcess_FollowVeh=1\n"
        "fRightStickVerticalSensitivity=1\nfRightStickHorizontalSensitivity=1\n"
        "bControlVehParts=1\nbForceAutoAim=1\nbTorsoFix=1\nbNoAutoFoc=1\nkeyWalk=0x12\n"
        "bIVOnFootCamera=1\nbIVVehicleCamera=1\nbDynamicFOV=1\nfFOV=70\n"));

    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(plugin->module());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        reinterpret_cast<const uint8_t*>(dos) + dos->e_lfanew);
    const uint32_t base = Addr(plugin->module());
    const uint32_t end = base + nt->OptionalHeader.SizeOfImage;

    std::vector<Patch> expected;
    std::set<uint32_t> routines;
    int siteCount = 0;
    for (const SiteGroup& group : RedirectedSites) {
        const uint32_t routine = Rel32Target(group.sites[0]);
        EXPECT_TRUE(routine >= base && routine < end) << group.routine;
        EXPECT_TRUE(routines.insert(routine).second) << group.routine << " shares a routine";
        for (uint32_t site : group.sites) {
            expected.push_back({site, Rel32Bytes(group.opcode, site, routine)});
            ++siteCount;
        }
    }
    for (const OtherWrite& write : OtherWrites) {
        expected.push_back({write.address, write.bytes});
        ++siteCount;
    }
    // The page's contents are checked by the controls page tests; here only its place.
    expected.push_back({ControlsPage, ReadBytes(ControlsPage, ControlsPageSize)});
    ++siteCount;
    EXPECT_EQ(siteCount, 60);

    const ByteMap changed = ChangedBytes(before);
    EXPECT_EQ(changed, ExpectedChanges(before, expected));

    // No write site overlaps another or the branch bytes the aiming hook rewrites each frame.
    std::set<uint32_t> covered;
    for (const Patch& patch : expected)
        for (uint32_t i = 0; i < patch.second.size(); ++i)
            EXPECT_TRUE(covered.insert(patch.first + i).second) << std::hex << patch.first + i;
    for (uint32_t branch : {0x468D09u, 0x468D92u, 0x4D73DCu}) EXPECT_FALSE(covered.count(branch));
}

}  // namespace
