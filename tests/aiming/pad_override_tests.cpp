// The pad overrides, entered through the host's pad-query call sites they take over: which
// sites each setting installs, and the answers of the fire, right-stick and walk overrides.
#include <algorithm>
#include <vector>

#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

const std::vector<uint32_t> FireSites =
    JoinSites({SiteList(FireHeldSites), SiteList(FirePressedSites)});
const std::vector<uint32_t> StickSites =
    JoinSites({SiteList(RightStickXSites), SiteList(RightStickYSites)});
const std::vector<uint32_t> WalkSites =
    JoinSites({SiteList(WalkAxisASites), SiteList(WalkAxisBSites)});

struct InstallCase {
    std::vector<const char*> settings;
    std::vector<uint32_t> sitesInOrder;
};

TEST_F(AimingTest, EachGroupOfPadOverridesIsInstalledUnderItsOwnSettingInOrder) {
    const std::vector<uint32_t> allSites =
        JoinSites({SiteList(FireHeldSites), SiteList(FirePressedSites), SiteList(RightStickXSites),
                   SiteList(RightStickYSites), SiteList(WalkAxisASites), SiteList(WalkAxisBSites)});
    const InstallCase cases[] = {
        {{"bProcess_FollowPed=1"}, FireSites},
        {{"bProcess_FollowVeh=1"}, StickSites},
        {{"keyWalk=0x12"}, WalkSites},
        {{"keyWalk=12"}, {}},
        {{"keyWalk=0x0"}, {}},
        {{"keyWalk="}, {}},
        {{"bProcess_FollowPed=1", "bProcess_FollowVeh=1", "keyWalk=0xA0"}, allSites},
    };
    for (const InstallCase& c : cases) {
        SCOPED_TRACE(
            testing::PrintToString(std::vector<std::string>(c.settings.begin(), c.settings.end())));
        Prepare();
        Load(c.settings);
        EXPECT_EQ(SitesWritten(allSites), c.sitesInOrder);
        for (uint32_t site : allSites) {
            const bool written = std::find(c.sitesInOrder.begin(), c.sitesInOrder.end(), site) !=
                                 c.sitesInOrder.end();
            EXPECT_EQ(At<uint8_t>(site), written ? 0xE8 : 0x00) << std::hex << site;
            if (written) {
                EXPECT_TRUE(InsidePlugin(Rel32Target(site))) << std::hex << site;
            }
        }
    }
}

TEST_F(AimingTest, SitesOfOneQueryShareTheirOverrideAndNoTwoQueriesShareOne) {
    Start({"bProcess_FollowPed=1", "bProcess_FollowVeh=1", "keyWalk=0x12"});
    std::vector<uint32_t> routines;
    for (const std::vector<uint32_t>& group :
         {SiteList(FireHeldSites), SiteList(FirePressedSites), SiteList(RightStickXSites),
          SiteList(RightStickYSites), SiteList(WalkAxisASites), SiteList(WalkAxisBSites)}) {
        const uint32_t routine = Rel32Target(group.front());
        for (uint32_t site : group) EXPECT_EQ(Rel32Target(site), routine) << std::hex << site;
        EXPECT_EQ(std::find(routines.begin(), routines.end(), routine), routines.end());
        routines.push_back(routine);
    }
}

// Enters the override at site as host code would, with another pad object as `this`.
int32_t Ask(uint32_t site) {
    const SiteResult result = EnterHostSite(site, OtherPadAddress, {});
    EXPECT_EQ(result.removedBytes(), 0u) << std::hex << site;
    EXPECT_EQ(result.fpuDepthChange(), 0) << std::hex << site;
    return int32_t(result.eax);
}

struct FireCase {
    const char* name;
    bool aims = false;
    uint8_t controlLock = 0;
    int16_t padMode = 0;
    int16_t button08 = 0, previous08 = 0;
    int32_t hostHeld = 0, hostPressed = 0;
    int32_t held = 0, pressed = 0;
};

TEST_F(AimingTest, FireOverridesAnswerTheHostOrButton08WhileAimingWithTheMouse) {
    const FireCase cases[] = {
        {.name = "host fire input", .hostHeld = 5, .hostPressed = 7, .held = 1, .pressed = 1},
        {.name = "control lock 1", .controlLock = 1, .hostHeld = 1, .hostPressed = 1},
        {.name = "control lock 2", .controlLock = 2, .hostHeld = 1, .hostPressed = 1, .held = 1},
        {.name = "control lock 2, aiming, button 0x08",
         .aims = true,
         .controlLock = 2,
         .button08 = 1},
        {.name = "aiming, button 0x08 goes down",
         .aims = true,
         .button08 = 1,
         .held = 1,
         .pressed = 1},
        {.name = "aiming, button 0x08 stays down",
         .aims = true,
         .button08 = 1,
         .previous08 = 1,
         .held = 1},
        {.name = "aiming, button 0x08 up", .aims = true, .previous08 = 1},
        {.name = "aiming with pad mode 4, button 0x08", .aims = true, .padMode = 4, .button08 = 1},
        {.name = "not aiming, button 0x08", .button08 = 1},
    };
    for (const FireCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        if (!c.aims) PadAimHeld::answer = [](HostPad*) { return 0; };
        Pass();
        ASSERT_EQ(Aiming(), c.aims);
        Pad().controlLock = c.controlLock;
        Pad().padMode = c.padMode;
        Pad().button08 = c.button08;
        Pad().previousButton08 = c.previous08;
        PadFireHeld::answer = [&c](HostPad*) { return c.hostHeld; };
        PadFirePressed::answer = [&c](HostPad*) { return c.hostPressed; };
        PadFireHeld::calls.clear();
        for (uint32_t site : FireHeldSites) EXPECT_EQ(Ask(site), c.held) << std::hex << site;
        for (uint32_t site : FirePressedSites) EXPECT_EQ(Ask(site), c.pressed) << std::hex << site;
        for (const auto& call : PadFireHeld::calls)
            EXPECT_EQ(std::get<0>(call), Ptr<HostPad>(HostPad0Address));
    }
}

struct StickCase {
    const char* name;
    Bridge bridge;
    uint8_t controlLock;
    bool hostAnswers;
};

TEST_F(AimingTest, RightStickOverridesPassTheHostReadingOnlyForABridgedPadInUse) {
    const StickCase cases[] = {
        {"no GInput", Bridge::None, 0, false},
        {"pad not in use", Bridge::Inactive, 0, false},
        {"pad in use", Bridge::Active, 0, true},
        {"pad in use, control lock 1", Bridge::Active, 1, false},
        {"pad in use, control lock 2", Bridge::Active, 2, false},
    };
    for (const StickCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowVeh=1"}, c.bridge);
        Pad().controlLock = c.controlLock;
        PadRightStickX::answer = [](HostPad*) { return 77; };
        PadRightStickY::answer = [](HostPad*) { return -66; };
        for (uint32_t site : RightStickXSites) EXPECT_EQ(Ask(site), c.hostAnswers ? 77 : 0);
        for (uint32_t site : RightStickYSites) EXPECT_EQ(Ask(site), c.hostAnswers ? -66 : 0);
        for (const auto& call : PadRightStickX::calls)
            EXPECT_EQ(std::get<0>(call), Ptr<HostPad>(HostPad0Address));
        for (const auto& call : PadRightStickY::calls)
            EXPECT_EQ(std::get<0>(call), Ptr<HostPad>(HostPad0Address));
    }
}

struct WalkCase {
    int16_t plus, minus;
    int16_t keyState;
    int32_t answer;
};

TEST_F(AimingTest, WalkOverridesHalveTheDirectionWordsAndScaleThemWhileTheWalkKeyIsHeld) {
    constexpr int16_t Held = int16_t(0x8000), Up = 0, Toggled = 1;
    // clang-format off
    const WalkCase cases[] = {
        // plus word, minus word, walk key, answer
        {255, 0,   Up,      127},
        {255, 0,   Held,    51},
        {0,   255, Up,      -127},
        {0,   255, Held,    -51},
        {255, 255, Up,      0},
        {255, 255, Held,    0},
        {1,   0,   Up,      0},
        {3,   0,   Up,      1},
        {3,   0,   Held,    0},
        {0,   3,   Up,      -1},   // -1.5 cut toward zero
        {255, 0,   Toggled, 127},  // only the high bit counts as held
    };
    // clang-format on
    Start({"keyWalk=0x12"});
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plus << " - " << c.minus << ", key " << c.keyState);
        Seam().keyStates[0x12] = c.keyState;
        Seam().keyStateQueries.clear();
        Pad().walkAPlus = c.plus;
        Pad().walkAMinus = c.minus;
        Pad().walkBPlus = Pad().walkBMinus = 99;  // axis A reads only its own words
        for (uint32_t site : WalkAxisASites) EXPECT_EQ(Ask(site), c.answer) << std::hex << site;
        Pad().walkBPlus = c.plus;
        Pad().walkBMinus = c.minus;
        Pad().walkAPlus = Pad().walkAMinus = 99;
        for (uint32_t site : WalkAxisBSites) EXPECT_EQ(Ask(site), c.answer) << std::hex << site;
        EXPECT_EQ(Seam().keyStateQueries, std::vector<int>(22, 0x12));
    }
    EXPECT_TRUE(PadWalkAxisA::calls.empty());
    EXPECT_TRUE(PadWalkAxisB::calls.empty());
}

TEST_F(AimingTest, WithABridgedPadInUseTheWalkAnswersAreTheHostsAndTheKeyChangesNothing) {
    Start({"keyWalk=0x12"}, Bridge::Active);
    PadWalkAxisA::answer = [](HostPad*) { return 42; };
    PadWalkAxisB::answer = [](HostPad*) { return -17; };
    Pad().walkAPlus = Pad().walkBPlus = 255;
    for (int16_t key : {int16_t(0), int16_t(0x8000)}) {
        Seam().keyStates[0x12] = key;
        Seam().keyStateQueries.clear();
        EXPECT_EQ(Ask(WalkAxisASites[0]), 42);
        EXPECT_EQ(Ask(WalkAxisBSites[0]), -17);
        EXPECT_EQ(Seam().keyStateQueries.size(), 2u);  // still asked on every query
    }
    ASSERT_EQ(PadWalkAxisA::calls.size(), 2u);
    EXPECT_EQ(std::get<0>(PadWalkAxisA::calls[0]), Ptr<HostPad>(HostPad0Address));
    EXPECT_EQ(std::get<0>(PadWalkAxisB::calls[1]), Ptr<HostPad>(HostPad0Address));
}

TEST_F(AimingTest, ALockedControlStopsTheWalkBeforeTheKeyIsAsked) {
    for (uint8_t lock : {1, 2}) {
        SCOPED_TRACE(int(lock));
        Start({"keyWalk=0x12"}, Bridge::Active);
        PadWalkAxisA::answer = [](HostPad*) { return 42; };
        Pad().walkAPlus = 255;
        Pad().controlLock = lock;
        EXPECT_EQ(Ask(WalkAxisASites[0]), 0);
        EXPECT_EQ(Ask(WalkAxisBSites[0]), 0);
        EXPECT_TRUE(Seam().keyStateQueries.empty());
        EXPECT_TRUE(PadWalkAxisA::calls.empty());
    }
}

}  // namespace
}  // namespace aiming_test
