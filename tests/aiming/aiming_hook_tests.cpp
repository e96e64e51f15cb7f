// The aiming hook, entered through the host's camera-step call at 0x46D500: aim mode,
// the host camera step, the hand-control stamp, the aim decision, lock-on, the turn and
// pose of the player character and the host bytes it rewrites on every pass.
#include <algorithm>
#include <functional>

#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

constexpr uint32_t StampAddress = HostCameraAddress + 0x348;

void LockCameraInput() {
    HostCam().inputLock[0] = HostCam().inputLock[1] = HostCam().inputLock[2] = 1;
}

struct AimCase {
    const char* name;
    std::function<void(HostWorld&)> change;
    bool aims;
    bool blockBAsked;   // the third condition was reached
    bool aimHeldAsked;  // the eighth condition was reached
};

TEST_F(AimingTest, AimDecisionTestsItsConditionsInOrderAndStopsAtTheFirstThatFails) {
    auto state = [](int32_t value) {
        return [value](HostWorld& w) { w.character->state = value; };
    };
    auto weapon = [](int32_t type) {
        return [type](HostWorld& w) { w.character->weapons[3].type = type; };
    };
    const AimCase cases[] = {
        {"all hold", [](HostWorld&) {}, true, true, true},
        {"state 17", state(17), true, true, true},
        {"state 22", state(22), true, true, true},
        {"state -1", state(-1), true, true, true},
        {"pad blocks aiming (A)",
         [](HostWorld&) { PadAimBlockA::answer = [](HostPad*) { return 2; }; }, false, false,
         false},
        {"state 18", state(18), false, false, false},
        {"state 21", state(21), false, false, false},
        {"state 23", state(23), false, false, false},
        {"state 35", state(35), false, false, false},
        {"state 44", state(44), false, false, false},
        {"pad blocks aiming (B)",
         [](HostWorld&) { PadAimBlockB::answer = [](HostPad*) { return true; }; }, false, true,
         false},
        {"second state 4", [](HostWorld& w) { w.character->secondState = 4; }, false, true, false},
        {"controlling a vehicle",
         [](HostWorld& w) { HostFocusedPlayer().controlledVehicle = w.vehicle; }, false, true,
         false},
        {"driving", [](HostWorld& w) { GetPlayerVehicle::answer = [&w] { return w.vehicle; }; },
         false, true, false},
        {"cam mode 37", [](HostWorld&) { HostCam().mode = 37; }, false, true, false},
        {"weapon 0", weapon(0), false, true, false},
        {"weapon 1", weapon(1), false, true, false},
        {"weapon 10", weapon(10), false, true, false},
        {"weapon 11", weapon(11), false, true, false},
        {"weapon 12", weapon(12), false, true, false},
        {"aim input released", [](HostWorld&) { PadAimHeld::answer = [](HostPad*) { return 0; }; },
         false, true, true},
    };
    for (const AimCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        LockCameraInput();  // the stamp asks no pad query
        c.change(world);
        Pass();
        EXPECT_EQ(Aiming(), c.aims);
        EXPECT_EQ(PadAimBlockA::calls.size(), 1u);
        EXPECT_EQ(PadAimBlockB::calls.size(), c.blockBAsked ? 1u : 0u);
        EXPECT_EQ(PadAimHeld::calls.size(), c.aimHeldAsked ? 1u : 0u);
    }
}

struct AimModeCase {
    const char* name;
    const char* forceAutoAim;
    Bridge bridge;
    uint8_t mouseFlag;
    int padQueries;  // IsPadActive asked of GInput
};

TEST_F(AimingTest, AimModeFollowsForceAutoAimThenTheBridgedPad) {
    const AimModeCase cases[] = {
        {"no GInput", "bForceAutoAim=0", Bridge::None, 1, 0},
        {"pad not in use", "bForceAutoAim=0", Bridge::Inactive, 1, 1},
        {"pad in use", "bForceAutoAim=0", Bridge::Active, 0, 1},
        {"forced, no GInput", "bForceAutoAim=1", Bridge::None, 0, 0},
        {"forced, pad not in use", "bForceAutoAim=1", Bridge::Inactive, 0, 0},
    };
    for (const AimModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1", c.forceAutoAim}, c.bridge);
        LockCameraInput();
        HostMouseAimFlag() = 7;
        HostPadAimFlag() = 7;
        const int before = ginput ? ginput->slotCalls[2] : 0;
        Pass();
        EXPECT_EQ(HostMouseAimFlag(), c.mouseFlag);
        EXPECT_EQ(HostPadAimFlag(), 1 - c.mouseFlag);
        const uint8_t branch = c.mouseFlag ? JE : JNE;
        EXPECT_EQ(At<uint8_t>(MouseAimBranchA), branch);
        EXPECT_EQ(At<uint8_t>(MouseAimBranchB), branch);
        EXPECT_EQ((ginput ? ginput->slotCalls[2] : 0) - before, c.padQueries);
    }
}

TEST_F(AimingTest, WithoutFollowPedOnlyTheCameraStepAndTheStampRun) {
    Start({"bProcess_FollowPed=0", "bForceAutoAim=1"});
    ReadyToAim();
    Player().targetLock = 1;
    At<float>(HostMouseDeltaXAddress) = 0.25f;
    At<int32_t>(HostTimeMsAddress) = 5000;
    const HostSnapshot before = SnapshotHost();
    const SiteResult result = Pass();
    ASSERT_EQ(CameraStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(CameraStep::calls[0]), Ptr<HostCameraObject>(HostCameraAddress));
    EXPECT_EQ(ChangedBytes(before), ExpectedChanges(before, {{StampAddress, {0x64, 0x19, 0, 0}}}));
    EXPECT_TRUE(Seam().protectCalls.empty());
    EXPECT_TRUE(CharacterReleaseLock::calls.empty());
    EXPECT_TRUE(CharacterAimPose::calls.empty());
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);
}

TEST_F(AimingTest, ALockFlagOfExactlyOneLeavesTheHostCameraStepOut) {
    for (uint8_t lock : {0, 1, 2}) {
        SCOPED_TRACE(int(lock));
        Start({"bProcess_FollowPed=1"});
        Player().targetLock = lock;
        const SiteResult result = Pass();
        EXPECT_EQ(CameraStep::calls.size(), lock == 1 ? 0u : 1u);
        if (!CameraStep::calls.empty()) {
            EXPECT_EQ(std::get<0>(CameraStep::calls[0]), Ptr<HostCameraObject>(HostCameraAddress));
        }
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(result.fpuDepthChange(), 0);
    }
}

struct StampCase {
    const char* name;
    Bridge bridge;
    std::function<void(HostWorld&)> change;
    bool stamped;
};

TEST_F(AimingTest, HandControlStampFollowsStickMouseAndAimOnFoot) {
    auto stick = [](int32_t x, int32_t y) {
        return [x, y](HostWorld&) {
            PadRightStickX::answer = [x](HostPad*) { return x; };
            PadRightStickY::answer = [y](HostPad*) { return y; };
        };
    };
    auto aimHeld = [](HostWorld&) { PadAimHeld::answer = [](HostPad*) { return 1; }; };
    const StampCase cases[] = {
        {"nothing moves", Bridge::None, [](HostWorld&) {}, false},
        {"mouse x", Bridge::None, [](HostWorld&) { At<float>(HostMouseDeltaXAddress) = -0.5f; },
         true},
        {"mouse y", Bridge::None, [](HostWorld&) { At<float>(HostMouseDeltaYAddress) = 0.25f; },
         true},
        {"stick x with a pad", Bridge::Active, stick(12, 0), true},
        {"stick y with a pad", Bridge::Active, stick(0, -3), true},
        {"stick without a pad in use", Bridge::Inactive, stick(12, 12), false},
        {"aim held on foot", Bridge::None, aimHeld, true},
        {"aim held controlling a vehicle", Bridge::None,
         [&](HostWorld& w) {
             aimHeld(w);
             HostFocusedPlayer().controlledVehicle = w.vehicle;
         },
         false},
        {"aim held driving", Bridge::None,
         [&](HostWorld& w) {
             aimHeld(w);
             GetPlayerVehicle::answer = [&w] { return w.vehicle; };
         },
         false},
        {"all three input locks", Bridge::None,
         [](HostWorld&) {
             LockCameraInput();
             At<float>(HostMouseDeltaXAddress) = 1.0f;
         },
         false},
        {"two of three input locks", Bridge::None,
         [](HostWorld&) {
             HostCam().inputLock[0] = HostCam().inputLock[2] = 1;
             At<float>(HostMouseDeltaXAddress) = 1.0f;
         },
         true},
    };
    for (const StampCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=0"}, c.bridge);
        At<int32_t>(HostTimeMsAddress) = 100000;
        HostCam().handControlUntil = 7;
        c.change(world);
        Pass();
        EXPECT_EQ(HostCam().handControlUntil, c.stamped ? 101500 : 7);
    }
}

TEST_F(AimingTest, StickYIsAskedOnlyAfterStickXGaveNothing) {
    Start({"bProcess_FollowPed=0"}, Bridge::Active);
    PadRightStickX::answer = [](HostPad*) { return 1; };
    Pass();
    EXPECT_EQ(PadRightStickX::calls.size(), 1u);
    EXPECT_TRUE(PadRightStickY::calls.empty());
    EXPECT_TRUE(PadAimHeld::calls.empty());
}

struct LockCase {
    const char* name;
    Bridge bridge = Bridge::None;
    bool aims = false;
    uint8_t lockFlag = 0;
    int16_t padMode = 0;
    int16_t analogue = 0;
    int32_t stickX = 0, stickY = 0;
    float mouseX = 0.0f, mouseY = 0.0f;
    int16_t button08 = 0, previous08 = 0;
    uint8_t controlLock = 0;
    bool requestA = false, requestB = false;
    bool released = false, acquired = false;
};

TEST_F(AimingTest, LockOnIsDroppedAndTakenByTheRulesOfThePadMode) {
    const LockCase cases[] = {
        {.name = "held lock, nothing moves", .lockFlag = 1},
        {.name = "held lock, mouse x", .lockFlag = 1, .mouseX = 0.1f, .released = true},
        {.name = "lock flag 2 counts, mouse y", .lockFlag = 2, .mouseY = -0.1f, .released = true},
        {.name = "mode 4, analogue 30",
         .bridge = Bridge::Active,
         .lockFlag = 1,
         .padMode = 4,
         .analogue = 30,
         .released = true},
        {.name = "mode 4, analogue 31",
         .bridge = Bridge::Active,
         .lockFlag = 1,
         .padMode = 4,
         .analogue = 31},
        {.name = "mode 4, analogue 31, mouse",
         .bridge = Bridge::Active,
         .lockFlag = 1,
         .padMode = 4,
         .analogue = 31,
         .mouseX = 2.0f,
         .released = true},
        {.name = "mode 4 without a pad in use",
         .bridge = Bridge::Inactive,
         .lockFlag = 1,
         .padMode = 4,
         .analogue = 0},
        {.name = "stick x", .bridge = Bridge::Active, .lockFlag = 1, .stickX = 5, .released = true},
        {.name = "stick y",
         .bridge = Bridge::Active,
         .lockFlag = 1,
         .stickY = -5,
         .released = true},
        {.name = "sticks still", .bridge = Bridge::Active, .lockFlag = 1},
        {.name = "sticks still, mouse",
         .bridge = Bridge::Active,
         .lockFlag = 1,
         .mouseY = 1.0f,
         .released = true},
        {.name = "stick without a pad in use",
         .bridge = Bridge::Inactive,
         .lockFlag = 1,
         .stickX = 5},
        {.name = "held lock is not taken again", .aims = true, .lockFlag = 1, .requestA = true},
        {.name = "aiming, request A", .aims = true, .requestA = true, .acquired = true},
        {.name = "aiming, request B", .aims = true, .requestB = true, .acquired = true},
        {.name = "aiming, no request", .aims = true},
        {.name = "aiming, button 0x08 just pressed", .aims = true, .button08 = 1, .requestA = true},
        {.name = "aiming, button 0x08 held",
         .aims = true,
         .button08 = 1,
         .previous08 = 1,
         .requestA = true,
         .acquired = true},
        {.name = "aiming, button 0x08 just pressed, control locked",
         .aims = true,
         .button08 = 1,
         .controlLock = 1,
         .requestA = true,
         .acquired = true},
        {.name = "aiming, mode 4, analogue 30",
         .aims = true,
         .padMode = 4,
         .analogue = 30,
         .acquired = true},
        {.name = "aiming, mode 4, analogue 30, pad in use",
         .bridge = Bridge::Active,
         .aims = true,
         .padMode = 4,
         .analogue = 30,
         .acquired = true},
        {.name = "aiming, mode 4, analogue 29",
         .aims = true,
         .padMode = 4,
         .analogue = 29,
         .requestA = true},
        {.name = "aiming, mode 4, button 0x08 just pressed",
         .aims = true,
         .padMode = 4,
         .analogue = 40,
         .button08 = 1,
         .acquired = true},
        {.name = "not aiming, request A", .requestA = true},
    };
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1"}, c.bridge);
        if (c.aims) ReadyToAim();
        Player().targetLock = c.lockFlag;
        Pad().padMode = c.padMode;
        Pad().lockAnalogue = c.analogue;
        Pad().button08 = c.button08;
        Pad().previousButton08 = c.previous08;
        Pad().controlLock = c.controlLock;
        At<float>(HostMouseDeltaXAddress) = c.mouseX;
        At<float>(HostMouseDeltaYAddress) = c.mouseY;
        PadRightStickX::answer = [&c](HostPad*) { return c.stickX; };
        PadRightStickY::answer = [&c](HostPad*) { return c.stickY; };
        PadLockRequestA::answer = [&c](HostPad*) { return c.requestA; };
        PadLockRequestB::answer = [&c](HostPad*) { return c.requestB; };
        Pass();
        ASSERT_EQ(Aiming(), c.aims);
        ASSERT_EQ(CharacterReleaseLock::calls.size(), c.released ? 1u : 0u);
        ASSERT_EQ(CharacterAcquireLock::calls.size(), c.acquired ? 1u : 0u);
        if (c.released) {
            EXPECT_EQ(std::get<0>(CharacterReleaseLock::calls[0]), world.character);
        }
        if (c.acquired) {
            EXPECT_EQ(std::get<0>(CharacterAcquireLock::calls[0]), world.character);
        }
    }
}

// What the turn step of a pass did to the player character.
enum class TurnStep { Skipped, TurnAndPose, TurnAndEndPose, EndPoseOnly };

struct TurnCase {
    const char* name;
    uint8_t controlLock;
    int32_t weapon;
    uint8_t lockFlag;
    int16_t camMode;
    int32_t state;
    bool aimHeld, fireHeld;
    TurnStep outcome;
};

TEST_F(AimingTest, TurnAndPoseFollowAimingFiringWeaponCamModeAndState) {
    using enum TurnStep;
    constexpr bool Aim = true, Fire = true, No = false;
    // clang-format off
    const TurnCase cases[] = {
        // name, control lock, weapon, target-lock flag, cam mode, state, aim input, fire input
        {"aiming",                           0, Gun, 0, 4,  0,  Aim, No,   TurnAndPose},
        {"neither aiming nor firing",        0, Gun, 0, 4,  0,  No,  No,   EndPoseOnly},
        {"firing without aiming",            0, Gun, 0, 4,  0,  No,  Fire, TurnAndEndPose},
        {"firing weapon 2",                  0, 2,   0, 4,  0,  No,  Fire, EndPoseOnly},
        {"firing weapon 3",                  0, 3,   0, 4,  0,  No,  Fire, EndPoseOnly},
        {"firing weapon 7",                  0, 7,   0, 4,  0,  No,  Fire, EndPoseOnly},
        {"firing weapon 8",                  0, 8,   0, 4,  0,  No,  Fire, EndPoseOnly},
        {"aiming weapon 7",                  0, 7,   0, 4,  0,  Aim, No,   TurnAndEndPose},
        {"aiming weapon 8",                  0, 8,   0, 4,  0,  Aim, No,   TurnAndEndPose},
        {"aiming in state 16",               0, Gun, 0, 4,  16, Aim, No,   TurnAndEndPose},
        {"aiming in state 17",               0, Gun, 0, 4,  17, Aim, No,   TurnAndEndPose},
        {"control locked",                   1, Gun, 0, 4,  0,  Aim, No,   Skipped},
        {"lock flag 2",                      0, Gun, 2, 4,  0,  Aim, No,   Skipped},
        {"weapon 0, firing",                 0, 0,   0, 4,  0,  Aim, Fire, Skipped},
        {"cam mode 5",                       0, Gun, 0, 5,  0,  Aim, No,   Skipped},
        {"cam mode 37",                      0, Gun, 0, 37, 0,  Aim, No,   Skipped},
        {"state 18",                         0, Gun, 0, 4,  18, Aim, No,   Skipped},
        // Cam modes 16, 8, 7 and 34 turn whatever the control lock, target and weapon.
        {"cam mode 16, all locked, firing",  1, 0,   2, 16, 0,  No,  Fire, TurnAndEndPose},
        {"cam mode 8, all locked, firing",   1, 0,   2, 8,  0,  No,  Fire, TurnAndEndPose},
        {"cam mode 7, all locked, firing",   1, 0,   2, 7,  0,  No,  Fire, TurnAndEndPose},
        {"cam mode 34, all locked, firing",  1, 0,   2, 34, 0,  No,  Fire, TurnAndEndPose},
        {"cam mode 16, all locked, neither", 1, 0,   2, 16, 0,  No,  No,   EndPoseOnly},
        {"cam mode 16, aiming",              0, Gun, 0, 16, 0,  Aim, No,   TurnAndPose},
    };
    // clang-format on
    for (const TurnCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        Pad().controlLock = c.controlLock;
        Player().weapons[3].type = c.weapon;
        Player().targetLock = c.lockFlag;
        Player().state = c.state;
        Cam().mode = c.camMode;
        PadAimHeld::answer = [&c](HostPad*) { return c.aimHeld ? 1 : 0; };
        PadFireHeld::answer = [&c](HostPad*) { return c.fireHeld ? 1 : 0; };
        Pass();
        const bool turns = c.outcome == TurnAndPose || c.outcome == TurnAndEndPose;
        const bool ends = c.outcome == TurnAndEndPose || c.outcome == EndPoseOnly;
        EXPECT_EQ(CharacterPreTurn::calls.size(), turns ? 1u : 0u);
        EXPECT_EQ(MatrixSetHeading::calls.size(), turns ? 1u : 0u);
        EXPECT_EQ(MatrixUpdate::calls.size(), c.outcome != Skipped ? 1u : 0u);
        EXPECT_EQ(CharacterAimPose::calls.size(), c.outcome == TurnAndPose ? 1u : 0u);
        EXPECT_EQ(CharacterAimEndA::calls.size(), ends ? 1u : 0u);
        EXPECT_EQ(CharacterAimEndB::calls.size(), ends ? 1u : 0u);
    }
}

// The host leaves its angle on the x87 stack with more precision than a float holds; the
// quarter turn comes off before the result is rounded to a float.
long double __cdecl AngleBeyondFloatPrecision(float, float) { return 2.0000001L; }

TEST_F(AimingTest, TurnSubtractsTheQuarterTurnFromTheHostsUnroundedAngle) {
    Start({"bProcess_FollowPed=1"});
    ReadyToAim();
    PlaceJump(AngleOfVector::address, reinterpret_cast<const void*>(&AngleBeyondFloatPrecision));
    const SiteResult result = Pass();
    ASSERT_EQ(MatrixSetHeading::calls.size(), 1u);
    // 2.0000001 - 1.5707963267948966 = 0.4292037732..., whose nearest float is 0.42920378
    // (rounding the angle first, to 2.0, would give 0.42920366).
    EXPECT_EQ(std::get<1>(MatrixSetHeading::calls[0]), 0.42920377850532532f);
    EXPECT_EQ(result.fpuDepthChange(), 0);
}

TEST_F(AimingTest, TurnFacesTheCameraFrontLessAQuarterTurnAndTakesTheHostHeading) {
    Start({"bProcess_FollowPed=1"});
    ReadyToAim();
    Player().heading = 0.75f;
    Cam().front = {0.25f, -0.5f, 0.0f};
    AngleOfVector::answer = [](float, float) { return 2.0f; };
    float headings[] = {1.25f, 2.5f};
    int asked = 0;
    GetPlayerHeading::answer = [&] { return headings[asked++]; };
    const SiteResult result = Pass();

    ASSERT_EQ(AngleOfVector::calls.size(), 1u);
    EXPECT_EQ(AngleOfVector::calls[0], std::make_tuple(0.25f, -0.5f));
    ASSERT_EQ(CharacterPreTurn::calls.size(), 1u);
    EXPECT_EQ(CharacterPreTurn::calls[0], std::make_tuple(world.character, 0.75f));
    HostMatrix* placement = &world.character->entity.placement;
    ASSERT_EQ(MatrixSetHeading::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(MatrixSetHeading::calls[0]), placement);
    EXPECT_EQ(std::get<1>(MatrixSetHeading::calls[0]), 0.4292036732051034f);  // 2 - pi/2
    EXPECT_EQ(Player().heading, 1.25f);
    EXPECT_EQ(Player().heading2, 2.5f);
    ASSERT_EQ(MatrixUpdate::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(MatrixUpdate::calls[0]), placement);
    ASSERT_EQ(CharacterAimPose::calls.size(), 1u);
    EXPECT_EQ(CharacterAimPose::calls[0], std::make_tuple(world.character, 0));

    const std::vector<uint32_t> turnRoutines = {
        CharacterPreTurn::address, MatrixSetHeading::address, GetPlayerHeading::address,
        MatrixUpdate::address, CharacterAimPose::address};
    std::vector<uint32_t> turnCalls;
    for (uint32_t address : CallLog())
        if (std::find(turnRoutines.begin(), turnRoutines.end(), address) != turnRoutines.end())
            turnCalls.push_back(address);
    const std::vector<uint32_t> expected = {CharacterPreTurn::address, MatrixSetHeading::address,
                                            GetPlayerHeading::address, GetPlayerHeading::address,
                                            MatrixUpdate::address,     CharacterAimPose::address};
    EXPECT_EQ(turnCalls, expected);
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);
}

TEST_F(AimingTest, AimEndRoutinesRunOncePerStopAndAgainAfterTheTurnConditionsFailed) {
    Start({"bProcess_FollowPed=1"});
    ReadyToAim();
    struct Frame {
        const char* name;
        bool aimHeld;
        uint8_t controlLock;
        size_t poses, ends;  // totals after the frame
    };
    const Frame frames[] = {
        {"not aiming", false, 0, 0, 1},
        {"still not aiming", false, 0, 0, 1},
        {"aiming", true, 0, 1, 1},
        {"aiming on", true, 0, 2, 1},
        {"stopped", false, 0, 2, 2},
        {"control locked", false, 1, 2, 2},
        {"free again, not aiming", false, 0, 2, 3},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.name);
        const bool aimHeld = frame.aimHeld;
        PadAimHeld::answer = [aimHeld](HostPad*) { return aimHeld ? 1 : 0; };
        Pad().controlLock = frame.controlLock;
        Pass();
        EXPECT_EQ(CharacterAimPose::calls.size(), frame.poses);
        EXPECT_EQ(CharacterAimEndA::calls.size(), frame.ends);
        EXPECT_EQ(CharacterAimEndB::calls.size(), frame.ends);
    }
    // A then B, each on the player character.
    const std::vector<uint32_t>& log = CallLog();
    std::vector<uint32_t> ends;
    for (uint32_t address : log)
        if (address == CharacterAimEndA::address || address == CharacterAimEndB::address)
            ends.push_back(address);
    EXPECT_EQ(ends, (std::vector<uint32_t>{CharacterAimEndA::address, CharacterAimEndB::address,
                                           CharacterAimEndA::address, CharacterAimEndB::address,
                                           CharacterAimEndA::address, CharacterAimEndB::address}));
    EXPECT_EQ(std::get<0>(CharacterAimEndB::calls[2]), world.character);
}

TEST_F(AimingTest, EveryPassRewritesTheThreeBranchBytesAndCentresTheCrosshair) {
    Start({"bProcess_FollowPed=1"});
    ReadyToAim();
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        ResetSeam();
        HostCamera().crosshairX = 0.1f;
        HostCamera().crosshairY = 0.9f;
        Pass();
        EXPECT_EQ(At<uint8_t>(MouseAimBranchA), JE);  // aiming by mouse
        EXPECT_EQ(At<uint8_t>(MouseAimBranchB), JE);
        EXPECT_EQ(At<uint8_t>(AimingBranch), JNE);
        const auto& calls = Seam().protectCalls;
        ASSERT_EQ(calls.size(), 6u);
        const uint32_t order[] = {MouseAimBranchA, MouseAimBranchB, AimingBranch};
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].address, order[i / 2]);
            EXPECT_EQ(calls[i].size, 1u);
        }
        EXPECT_EQ(calls[0].newProtection, uint32_t(PAGE_EXECUTE_READWRITE));
        EXPECT_EQ(HostCamera().crosshairX, 0.5f);
        EXPECT_EQ(HostCamera().crosshairY, 0.5f);
    }
    PadAimHeld::answer = [](HostPad*) { return 0; };
    Pass();
    EXPECT_EQ(At<uint8_t>(AimingBranch), JE);
}

TEST_F(AimingTest, WithoutAPlayerCharacterTheCameraStepStillRunsAndNothingIsWrittenThroughIt) {
    struct NullCase {
        const char* name;
        bool focusedToo;  // the focused record has no character either
    };
    for (const NullCase c : {NullCase{"no character anywhere", true},
                             NullCase{"focused record keeps a locked character", false}}) {
        SCOPED_TRACE(c.name);
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        Player().targetLock = 2;
        Cam().mode = 16;  // the turn step would run without the lock and weapon rules
        At<float>(HostMouseDeltaXAddress) = 1.0f;
        PadFireHeld::answer = [](HostPad*) { return 1; };
        PadLockRequestA::answer = [](HostPad*) { return true; };
        GetPlayerCharacter::answer = [] { return nullptr; };
        if (c.focusedToo) HostPlayerRecord0().character = nullptr;
        Pass();
        EXPECT_EQ(CameraStep::calls.size(), 1u);
        EXPECT_FALSE(Aiming());
        for (size_t calls : {CharacterReleaseLock::calls.size(), CharacterAcquireLock::calls.size(),
                             CharacterPreTurn::calls.size(), MatrixSetHeading::calls.size(),
                             MatrixUpdate::calls.size(), CharacterAimPose::calls.size(),
                             CharacterAimEndA::calls.size(), CharacterAimEndB::calls.size()})
            EXPECT_EQ(calls, 0u);
        EXPECT_EQ(HostCamera().crosshairX, 0.5f);
        EXPECT_EQ(Seam().protectCalls.size(), 6u);
    }
}

}  // namespace
}  // namespace aiming_test
