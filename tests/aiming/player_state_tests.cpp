// The player-state hooks, entered through their host sites: the aiming pose after the
// character update (0x4E72FC), the lock guard (0x4F22A0) and the torso stub (0x4EDDB0).
#include <algorithm>

#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

HostCharacter* const HostsCharacter = Ptr<HostCharacter>(SecondCharacterAddress);

// The lock release answering a value, to see that its result reaches the host's caller.
using ReleaseLockAnswering = MethodFake<0x4F28A0, uint32_t(HostCharacter*)>;

class PlayerStateTest : public AimingTest {
protected:
    void AimOnFoot(bool aims) {
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        if (!aims) PadAimHeld::answer = [](HostPad*) { return 0; };
        Pass();
        ASSERT_EQ(Aiming(), aims);
        CharacterAimPose::calls.clear();
        CallLog().clear();
    }
    void UpdateCharacter() {
        const SiteResult result = EnterHostSite(CharacterUpdateSite, SecondCharacterAddress, {});
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(result.fpuDepthChange(), 0);
    }
};

struct InstallCase {
    std::vector<const char*> settings;
    bool update, guard, torso;
};

TEST_F(PlayerStateTest, EachHookIsInstalledUnderItsOwnSetting) {
    const InstallCase cases[] = {
        {{}, false, false, false},
        {{"bProcess_FollowPed=1"}, true, true, false},
        {{"bTorsoFix=1"}, false, false, true},
        {{"bProcess_FollowPed=1", "bTorsoFix=1"}, true, true, true},
    };
    for (const InstallCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.update << c.guard << c.torso);
        Start(c.settings);
        EXPECT_EQ(At<uint8_t>(CharacterUpdateSite), c.update ? 0xE8 : 0);
        EXPECT_EQ(At<uint8_t>(ReleaseLockSite), c.guard ? 0xE8 : 0);
        EXPECT_EQ(At<uint8_t>(TorsoRoutine), c.torso ? 0xE9 : 0);
        for (uint32_t site : {CharacterUpdateSite, ReleaseLockSite, TorsoRoutine})
            if (At<uint8_t>(site) != 0) {
                EXPECT_TRUE(InsidePlugin(Rel32Target(site)));
            }
    }
}

struct UpdateCase {
    const char* name;
    bool aims;
    int32_t hostFire;
    int16_t button08;
    int32_t weaponState;
    bool poses;
};

TEST_F(PlayerStateTest, AfterTheHostUpdateThePoseIsAssertedWhileAimingWithoutFiring) {
    const UpdateCase cases[] = {
        {"not aiming", false, 0, 0, 0, false},
        {"aiming, weapon state 0", true, 0, 0, 0, true},
        {"aiming, weapon state 1", true, 0, 0, 1, true},
        {"aiming, weapon state 2", true, 0, 0, 2, false},
        {"aiming, host fire held", true, 1, 0, 0, false},
        {"aiming, button 0x08 held", true, 0, 1, 0, false},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        AimOnFoot(c.aims);
        Player().weapons[0].state = 2;  // not the current slot (3)
        Player().weapons[3].state = c.weaponState;
        Pad().button08 = c.button08;
        PadFireHeld::answer = [&c](HostPad*) { return c.hostFire; };
        UpdateCharacter();
        // The player character's update, whichever character the host passed.
        ASSERT_EQ(CharacterUpdateStep::calls.size(), 1u);
        EXPECT_EQ(std::get<0>(CharacterUpdateStep::calls[0]), world.character);
        ASSERT_EQ(CharacterAimPose::calls.size(), c.poses ? 1u : 0u);
        if (c.poses) {
            EXPECT_EQ(CharacterAimPose::calls[0], std::make_tuple(world.character, 0));
            const auto& log = CallLog();
            EXPECT_LT(std::find(log.begin(), log.end(), CharacterUpdateStep::address),
                      std::find(log.begin(), log.end(), CharacterAimPose::address));
        }
    }
}

TEST_F(PlayerStateTest, WithoutAPlayerCharacterTheHostUpdateRunsOnTheCharacterItPassed) {
    AimOnFoot(true);
    GetPlayerCharacter::answer = [] { return nullptr; };
    UpdateCharacter();
    ASSERT_EQ(CharacterUpdateStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(CharacterUpdateStep::calls[0]), HostsCharacter);
    EXPECT_TRUE(CharacterAimPose::calls.empty());
}

TEST_F(PlayerStateTest, GuardPassesTheHostCallIntoTheLockReleaseUnlessAiming) {
    for (bool aims : {false, true}) {
        SCOPED_TRACE(aims);
        AimOnFoot(aims);
        ReleaseLockAnswering::Place();
        ReleaseLockAnswering::answer = [](HostCharacter*) { return 0x5EED1234u; };
        const SiteResult result = EnterHostSite(ReleaseLockSite, SecondCharacterAddress, {});
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(result.fpuDepthChange(), 0);
        if (aims) {
            EXPECT_TRUE(ReleaseLockAnswering::calls.empty());
        } else {
            // The host's own `this`, and the routine's result back in the host's hands.
            ASSERT_EQ(ReleaseLockAnswering::calls.size(), 1u);
            EXPECT_EQ(std::get<0>(ReleaseLockAnswering::calls[0]), HostsCharacter);
            EXPECT_EQ(result.eax, 0x5EED1234u);
        }
        EXPECT_EQ(CallLog().size(), aims ? 0u : 1u);
    }
}

TEST_F(PlayerStateTest, TorsoRoutineReturnsAtOnceRemovingItsThreeArguments) {
    for (const char* followPed : {"bProcess_FollowPed=0", "bProcess_FollowPed=1"}) {
        SCOPED_TRACE(followPed);
        Start({"bTorsoFix=1", followPed});
        const SiteResult result =
            CallHostRoutine(TorsoRoutine, SecondCharacterAddress, {11, 22, 33});
        EXPECT_EQ(result.removedBytes(), 12u);
        // The call is entered with EAX holding the calling site's address; it comes back so.
        EXPECT_EQ(result.eax, ScratchCode);
        EXPECT_EQ(result.fpuDepthChange(), 0);
        EXPECT_TRUE(CallLog().empty());
    }
}

}  // namespace
}  // namespace aiming_test
