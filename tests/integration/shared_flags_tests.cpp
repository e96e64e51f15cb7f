// The aim flags carried from one feature to another inside the loaded plug-in: the aiming
// hook's decision reaches the on-foot camera, the predicates and the crosshair, and the
// aiming camera's shoulder check reaches the crosshair.
#include "tests/aiming/aiming_scene.h"

namespace {

using namespace aiming_test;

constexpr uint32_t OnFootCameraSite = 0x459A7C;
constexpr uint32_t RotationPredicateSite = 0x4F2685;
constexpr uint32_t AimPredicateSite = 0x4E6562;

class SharedFlagsTest : public AimingTest {
protected:
    void SetUp() override {
        AimingTest::SetUp();
        Start({"bProcess_FollowPed=1", "fFOV=70"});
        At<int32_t>(0x8F4364) = 640;  // screen width and height
        At<int32_t>(0x8F4368) = 480;
        At<float>(0x5F53C0) = 1.0f;   // HUD scale
        GetPad::answer = [](int32_t) { return &HostPad0(); };
        HostCamera().zoomStep = 2.0f;
        Cam().position = {5.0f, 0.0f, 1.0f};
    }
    SiteResult OnFootCameraFrame() {
        static Vector3 target{0.0f, 0.0f, 0.0f};
        return EnterHostSite(OnFootCameraSite, Addr(&Cam()), {Addr(&target), Bits(0.0f), 0, 0});
    }
    bool Predicate(uint32_t site) { return (EnterHostSite(site, 0, {}).eax & 0xFF) != 0; }
    bool CrosshairDrawn() {
        SubmitVertices2D::calls.clear();
        EnterHostSite(CrosshairSite, 0, {});
        return !SubmitVertices2D::calls.empty();
    }
};

TEST_F(SharedFlagsTest, AnAimingPassTurnsTheCharacterAndOpensTheAimPredicate) {
    ReadyToAim();
    Pass();
    ASSERT_TRUE(Aiming());
    EXPECT_TRUE(Predicate(RotationPredicateSite));
    EXPECT_TRUE(Predicate(AimPredicateSite));

    HostPad0().controlLock = 1;
    EXPECT_FALSE(Predicate(RotationPredicateSite));
    EXPECT_FALSE(Predicate(AimPredicateSite));
    HostPad0().controlLock = 0;

    // Aim released: the next pass neither turns nor aims.
    PadAimHeld::answer = [](HostPad*) { return 0; };
    Pass();
    EXPECT_FALSE(Aiming());
    EXPECT_FALSE(Predicate(RotationPredicateSite));
    EXPECT_FALSE(Predicate(AimPredicateSite));
}

TEST_F(SharedFlagsTest, TheOnFootCameraFollowsTheAimingDecision) {
    ReadyToAim();
    Pass();
    ASSERT_TRUE(Aiming());
    OnFootCameraFrame();
    EXPECT_EQ(CamPivotRoutine::calls.size(), 1u);  // only the aiming camera calls it

    PadAimHeld::answer = [](HostPad*) { return 0; };
    Pass();
    CamPivotRoutine::calls.clear();
    OnFootCameraFrame();
    EXPECT_TRUE(CamPivotRoutine::calls.empty());
}

TEST_F(SharedFlagsTest, ABlockedShoulderHidesTheCrosshairUntilItClears) {
    ReadyToAim();
    Pass();
    ASSERT_TRUE(Aiming());
    EXPECT_TRUE(CrosshairDrawn());

    // The shoulder check is the aiming camera's first line of sight: a wall there.
    LineOfSight::answer = [](const Vector3* start, const Vector3*, HostColPoint* hit,
                             HostEntity**, bool, bool, bool, bool, bool, bool, bool) {
        const bool first = LineOfSight::calls.size() == 1;
        if (first) hit->position = *start;
        return first;
    };
    LineOfSight::calls.clear();
    OnFootCameraFrame();
    EXPECT_FALSE(CrosshairDrawn());

    LineOfSight::answer = nullptr;
    OnFootCameraFrame();
    EXPECT_TRUE(CrosshairDrawn());
}

}  // namespace
