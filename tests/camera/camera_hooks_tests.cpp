// The camera hooks: what the installer writes into the host for each pair of camera
// switches, and what the routines reached from those sites answer.
#include <windows.h>

#include <set>

#include "tests/camera/camera_test_support.h"

namespace camtest {
namespace {

struct Site {
    uint32_t address;
    uint32_t size;
};

// Every host byte range the camera hooks may write, on foot and in vehicles.
std::vector<Site> OnFootSites() {
    std::vector<Site> sites{{OnFootSite, 5}, {0x459A65, 2},      {0x4F1F74, 1},
                            {0x469226, 7},   {0x469260, 7},      {NoOperationSite, 5}};
    for (uint32_t site : RotationPredicateSites) sites.push_back({site, 5});
    for (uint32_t site : AimPredicateSites) sites.push_back({site, 5});
    return sites;
}
std::vector<Site> VehicleSiteRanges() {
    std::vector<Site> sites;
    for (uint32_t site : VehicleSites) sites.push_back({site, 5});
    return sites;
}

// The routines the CALLs of each group reach.
struct Targets {
    uint32_t dispatch, rotation, aim, noOperation, vehicle;
};

std::vector<Patch> CameraPatches(bool onFoot, bool vehicle, const Targets& t) {
    std::vector<Patch> patches;
    if (onFoot) {
        patches.push_back({OnFootSite, Rel32Bytes(0xE8, OnFootSite, t.dispatch)});
        patches.push_back({0x459A65, std::vector<uint8_t>(2, 0x90)});
        patches.push_back({0x4F1F74, {0xFF}});
        patches.push_back({0x469226, std::vector<uint8_t>(7, 0x90)});
        patches.push_back({0x469260, std::vector<uint8_t>(7, 0x90)});
        for (uint32_t site : RotationPredicateSites)
            patches.push_back({site, Rel32Bytes(0xE8, site, t.rotation)});
        for (uint32_t site : AimPredicateSites)
            patches.push_back({site, Rel32Bytes(0xE8, site, t.aim)});
        patches.push_back({NoOperationSite, Rel32Bytes(0xE8, NoOperationSite, t.noOperation)});
    }
    if (vehicle)
        for (uint32_t site : VehicleSites)
            patches.push_back({site, Rel32Bytes(0xE8, site, t.vehicle)});
    return patches;
}

// The addresses made writable, in order: a CALL is written opcode first, then its
// displacement.
std::vector<uint32_t> WriteOrder(bool onFoot, bool vehicle) {
    std::vector<uint32_t> order;
    auto call = [&](uint32_t site) { order.insert(order.end(), {site, site + 1}); };
    if (onFoot) {
        call(OnFootSite);
        order.insert(order.end(), {0x459A65, 0x4F1F74, 0x469226, 0x469260});
        for (uint32_t site : RotationPredicateSites) call(site);
        for (uint32_t site : AimPredicateSites) call(site);
        call(NoOperationSite);
    }
    if (vehicle)
        for (uint32_t site : VehicleSites) call(site);
    return order;
}

class CameraHooksTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        // Host code at every site, to be overwritten whatever it holds.
        for (const std::vector<Site>& sites : {OnFootSites(), VehicleSiteRanges()})
            for (const Site& site : sites) std::memset(Ptr<void>(site.address), 0xCC, site.size);
    }

    // Checks that the CALLs of each group written reach one routine inside the module, a
    // different one per group, and returns them.
    Targets CallTargets(bool onFoot, bool vehicle, HMODULE module) {
        const auto* header = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            reinterpret_cast<const uint8_t*>(module) + header->e_lfanew);
        const uint32_t begin = Addr(module), end = begin + nt->OptionalHeader.SizeOfImage;
        auto groupTarget = [&](std::initializer_list<uint32_t> sites) {
            const uint32_t target = Rel32Target(*sites.begin());
            for (uint32_t site : sites) {
                EXPECT_EQ(At<uint8_t>(site), 0xE8) << std::hex << site;
                EXPECT_EQ(Rel32Target(site), target) << std::hex << site;
            }
            EXPECT_TRUE(target >= begin && target < end) << std::hex << target;
            return target;
        };
        Targets t{};
        std::set<uint32_t> distinct;
        if (onFoot) {
            t.dispatch = groupTarget({OnFootSite});
            t.rotation = groupTarget({0x4F2685, 0x469292, 0x4C7673, 0x4F03D5, 0x4D76CE, 0x45DB98});
            t.aim = groupTarget({0x4E6562, 0x55D88B, 0x560C25});
            t.noOperation = groupTarget({NoOperationSite});
            distinct.insert({t.dispatch, t.rotation, t.aim, t.noOperation});
            EXPECT_EQ(distinct.size(), 4u);
        }
        if (vehicle) {
            t.vehicle = groupTarget({0x459A54, 0x459B36, 0x459A16});
            EXPECT_EQ(distinct.count(t.vehicle), 0u);
        }
        return t;
    }

    static ByteMap Within(const ByteMap& bytes, const std::vector<Site>& sites) {
        ByteMap inside;
        for (const auto& [address, value] : bytes)
            for (const Site& site : sites)
                if (address >= site.address && address < site.address + site.size)
                    inside[address] = value;
        return inside;
    }
};

struct Switches {
    bool onFoot, vehicle;
};
constexpr Switches AllSwitches[] = {{false, false}, {true, false}, {false, true}, {true, true}};

const char* OnFootLine(const Switches& s) {
    return s.onFoot ? "bProcess_FollowPed=1" : "bProcess_FollowPed=0";
}
const char* VehicleLine(const Switches& s) {
    return s.vehicle ? "bProcess_FollowVeh=1" : "bProcess_FollowVeh=0";
}

TEST_F(CameraHooksTest, InstallerWritesExactlyItsTableForEachPairOfSwitches) {
    for (const Switches& s : AllSwitches) {
        const HostSnapshot before = SnapshotHost();
        ResetSeam();
        LoadProbe({OnFootLine(s), VehicleLine(s)});
        const Targets t = CallTargets(s.onFoot, s.vehicle, probe->module());
        EXPECT_EQ(ChangedBytes(before), ExpectedChanges(before, CameraPatches(s.onFoot, s.vehicle, t)))
            << s.onFoot << s.vehicle;
        std::vector<uint32_t> writable;
        for (const ProtectCall& call : Seam().protectCalls)
            if (call.newProtection == PAGE_EXECUTE_READWRITE) writable.push_back(call.address);
        EXPECT_EQ(writable, WriteOrder(s.onFoot, s.vehicle)) << s.onFoot << s.vehicle;
        probe.reset();
        SetUp();  // a fresh host for the next pair
    }
}

TEST_F(CameraHooksTest, ThePlugInRegistersTheCameraHooksUnderTheirTwoSwitches) {
    for (const Switches& s : AllSwitches) {
        const HostSnapshot before = SnapshotHost();
        LoadCameraPlugin({OnFootLine(s), VehicleLine(s), "bTorsoFix=0", "bForceAutoAim=0",
                          "bControlVehParts=0", "bNoAutoFoc=0", "bIVOnFootCamera=0",
                          "bIVVehicleCamera=0", "bDynamicFOV=0"});
        const Targets t = CallTargets(s.onFoot, s.vehicle, plugin->module());
        std::vector<Site> cameraSites = OnFootSites();
        for (const Site& site : VehicleSiteRanges()) cameraSites.push_back(site);
        EXPECT_EQ(Within(ChangedBytes(before), cameraSites),
                  ExpectedChanges(before, CameraPatches(s.onFoot, s.vehicle, t)))
            << s.onFoot << s.vehicle;
        plugin.reset();
        SetUp();  // a fresh host for the next pair
    }
}

TEST_F(CameraHooksTest, OnFootDispatchFollowsTheAimFlag) {
    LoadProbe({"fFOV=70"});
    cam.target = &world.character->entity;
    camera.zoomStep = 2.0f;
    struct Case {
        uint8_t aiming;
        size_t sightLines, pivotRoutineCalls;
    };
    // The follow camera tests two lines of sight; the aiming camera three, with the
    // host's pivot routine between the last two; any other flag value skips the frame.
    for (const Case c : {Case{0, 2, 0}, Case{1, 3, 1}, Case{2, 0, 0}}) {
        SetAimFlags(c.aiming, 0);
        sightCalls.clear();
        CamPivotRoutine::calls.clear();
        CallLog().clear();
        PokeBytes(Addr(&cam), {0xAA, 0xAA});
        const std::vector<uint8_t> before = ReadBytes(Addr(&camera), sizeof(HostCameraObject));
        EnterCameraSite(OnFootSite, {1.0f, 2.0f, 3.0f}, 0.5f, Addr(&camera.cams[1]));
        EXPECT_EQ(sightCalls.size(), c.sightLines) << int(c.aiming);
        EXPECT_EQ(CamPivotRoutine::calls.size(), c.pivotRoutineCalls) << int(c.aiming);
        if (c.aiming > 1) {
            EXPECT_EQ(ReadBytes(Addr(&camera), sizeof(HostCameraObject)), before);
            EXPECT_TRUE(CallLog().empty());
        } else {
            EXPECT_EQ(ReadBytes(Addr(&cam), 2), (std::vector<uint8_t>{0, 0}));
            EXPECT_EQ(ReadBytes(Addr(&camera.cams[1]), 2), (std::vector<uint8_t>{0, 0}))
                << "the host's record is not the one updated";
        }
    }
}

TEST_F(CameraHooksTest, RotationPredicateAnswersWhetherTheCharacterFacesTheCamera) {
    LoadProbe({});
    struct Case {
        uint8_t controlLock, facesCamera, answer;
    };
    const Case cases[] = {{0, 1, 1}, {1, 1, 0}, {0, 0, 0}, {0, 2, 0}, {0x80, 1, 0}};
    for (const Case& c : cases) {
        At<uint8_t>(HostControlLockAddress) = c.controlLock;
        SetAimFlags(0, c.facesCamera);
        for (uint32_t site : RotationPredicateSites) {
            const SiteResult result = EnterHostSite(site, 0x9F6400, {});
            EXPECT_EQ(result.eax & 0xFF, c.answer) << std::hex << site;
            EXPECT_EQ(result.removedBytes(), 0u);
            EXPECT_EQ(result.fpuDepthChange(), 0);
        }
    }
}

TEST_F(CameraHooksTest, AimPredicateAnswersOnlyForAnUnlockedAimingCharacterInCamModeFour) {
    LoadProbe({});
    struct Case {
        const char* what;
        uint8_t controlLock, targetLock;
        int16_t mode;
        uint8_t aiming;
        int32_t state;
        uint8_t focusedRecord;
        uint8_t answer;
    };
    const Case cases[] = {
        {"all hold", 0, 0, 4, 1, 0, 0, 1},
        {"control locked", 1, 0, 4, 1, 0, 0, 0},
        {"locked on", 0, 1, 4, 1, 0, 0, 0},
        {"cam mode 5", 0, 0, 5, 1, 0, 0, 0},
        {"cam mode 0x104", 0, 0, 0x104, 1, 0, 0, 0},
        {"not aiming", 0, 0, 4, 0, 0, 0, 0},
        {"state 24", 0, 0, 4, 1, 24, 0, 0},
        {"state 25", 0, 0, 4, 1, 25, 0, 0},
        {"state 32", 0, 0, 4, 1, 32, 0, 0},
        {"state 35", 0, 0, 4, 1, 35, 0, 0},
        {"state 44", 0, 0, 4, 1, 44, 0, 0},
        {"state 34", 0, 0, 4, 1, 34, 0, 1},
        {"state 45", 0, 0, 4, 1, 45, 0, 1},
        {"no focused character", 0, 0, 4, 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        At<uint8_t>(HostControlLockAddress) = c.controlLock;
        world.character->targetLock = c.targetLock;
        cam.mode = c.mode;
        SetAimFlags(c.aiming, 0);
        world.character->state = c.state;
        At<uint8_t>(HostPlayerIndexAddress) = c.focusedRecord;
        for (uint32_t site : AimPredicateSites) {
            const SiteResult result = EnterHostSite(site, 0x9F6400, {});
            EXPECT_EQ(result.eax & 0xFF, c.answer) << c.what << " " << std::hex << site;
            EXPECT_EQ(result.removedBytes(), 0u);
            EXPECT_EQ(result.fpuDepthChange(), 0);
        }
    }
}

TEST_F(CameraHooksTest, PlugInPredicatesAnswerZeroUntilTheAimFlagsAreRaised) {
    LoadCameraPlugin({});
    cam.mode = 4;
    for (uint32_t site : RotationPredicateSites) EXPECT_EQ(EnterHostSite(site, 0, {}).eax & 0xFF, 0u);
    for (uint32_t site : AimPredicateSites)
        EXPECT_EQ(EnterHostSite(site, 0x9F6400, {}).eax & 0xFF, 0u);
}

TEST_F(CameraHooksTest, NoOperationChangesNothing) {
    LoadCameraPlugin({});
    const HostSnapshot before = SnapshotHost();
    CallLog().clear();
    const SiteResult result = EnterHostSite(NoOperationSite, 0x9F6400, {});
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);
    EXPECT_TRUE(ChangedBytes(before).empty());
    EXPECT_TRUE(CallLog().empty());
}

}  // namespace
}  // namespace camtest
