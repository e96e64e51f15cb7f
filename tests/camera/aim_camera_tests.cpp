// The aiming camera, entered through the host's on-foot camera call at 0x459A7C while the
// aim flag is 1. The flag belongs to the aiming hook, so these tests load the camera probe,
// which sets it as that hook would. Expected numbers are worked by hand for the scene below.
#include <cmath>

#include "tests/camera/camera_test_support.h"

namespace camtest {
namespace {

class AimCameraTest : public CameraTest {
protected:
    // The character stands at (10, 20, 5) facing +y, so the shoulder point is
    // (10.5, 21, 5.1); pitch 0.2 sinks the pivot to (10.5, 21, 5.4513307); last frame's
    // camera is at (13, 24, 7.5); zoom step 2.0.
    void SetUp() override {
        CameraTest::SetUp();
        HostMatrix& placement = world.character->entity.placement;
        placement.position = {10.0f, 20.0f, 5.0f};
        placement.forward = {0.0f, 1.0f, 0.0f};
        cam.heightOffset = 0.5f;
        PoseCamera();
        cam.target = &world.character->entity;
        world.character->aimValue = 9.0f;
        CameraAimValue::answer = [](HostCameraObject*) { return 0.4f; };
        CamPivotRoutine::answer = [this](HostCamRecord*, const Vector3* pivot) {
            pivotsSeen.push_back(*pivot);
            ignoredAtPivot.push_back(HostIgnoredEntity());
        };
    }
    void PoseCamera() {
        cam.position = {13.0f, 24.0f, 7.5f};
        cam.front = {0.0f, 1.0f, 0.0f};
        cam.pitch = 0.2f;
        cam.heading = 1.0f;
    }
    void Load(std::initializer_list<const char*> lines) {
        LoadProbe(lines);
        SetAimFlags(1, 0);
    }
    SiteResult Update() { return EnterCameraSite(OnFootSite, HostTarget, HostHeading); }
    std::vector<Vector3> pivotsSeen;
    std::vector<HostEntity*> ignoredAtPivot;
};

const Vector3 ShoulderPivot{10.5f, 21.0f, 5.4513307f};

TEST_F(AimCameraTest, LooksOverTheShoulderUnderMouseAndStick) {
    UsePadStick(64, -32);
    Load({"fFOV=70", "fRightStickVerticalSensitivity=2", "fRightStickHorizontalSensitivity=0.5",
          "bDynamicFOV=1", "bIVOnFootCamera=1"});
    probe->Export<void (*)(uint8_t)>("CameraProbeSetShoulderBlocked")(1);
    Mouse(10.0f, -4.0f);
    Update();

    EXPECT_EQ(ShoulderBlocked(), 0);
    EXPECT_EQ(cam.fov, 70.0f);  // never dynamic here
    // Mouse as on foot, then the stick by reading x sensitivity / 1280 alone:
    // pitch 0.2 + 0.035 + 0.05, heading 1.0 - 0.0546875 - 0.025.
    // Flat orbit: R = 1.5046735 across, R sin(pitch) up.
    ExpectFrame(cam, {.pitch = 0.285f,
                      .heading = 0.9203125f,
                      .pivot = ShoulderPivot,
                      .position = {11.411187f, 22.197406f, 5.8743808f},
                      .lookPoint = {11.411187f, 23.197406f, 5.8743808f},
                      .orbitDistance = 1.5630144f,
                      .distance = 1.5046735f,
                      .front = {-0.58296804f, -0.76608733f, -0.27066301f},
                      .up = {-0.16390581f, -0.21539116f, 0.96267416f}});
    EXPECT_NEAR(world.character->aimValue, 0.3, 1e-7);  // 0.75 x 0.4

    ASSERT_EQ(sightCalls.size(), 3u);
    const std::array<bool, 7> shoulder{1, 0, 0, 1, 0, 1, 1}, pass{1, 1, 0, 1, 0, 1, 1};
    EXPECT_EQ(sightCalls[0].flags, shoulder);
    ExpectNear(sightCalls[0].start, {10.5f, 21.0f, 5.1f}, 2e-6, "shoulder");
    ExpectNear(sightCalls[0].end, {13.0f, 24.0f, 7.5f}, 0, "last camera");
    EXPECT_EQ(sightCalls[0].presetHitEntity, nullptr);
    EXPECT_EQ(sightCalls[0].ignoredEntity, nullptr);
    for (int i : {1, 2}) {
        EXPECT_EQ(sightCalls[i].flags, pass);
        ExpectNear(sightCalls[i].start, ShoulderPivot, 2e-6, "pass start");
    }
    EXPECT_EQ(sightCalls[1].ignoredEntity, nullptr);
    EXPECT_EQ(sightCalls[2].ignoredEntity, &world.character->entity);
    ASSERT_EQ(pivotsSeen.size(), 1u);
    ExpectNear(pivotsSeen[0], ShoulderPivot, 2e-6, "pivot routine");
    EXPECT_EQ(ignoredAtPivot[0], &world.character->entity);
    EXPECT_EQ(std::get<0>(CamPivotRoutine::calls[0]), &cam);
    EXPECT_EQ(std::get<0>(CameraAimValue::calls.at(0)), &camera);
    EXPECT_EQ(HostIgnoredEntity(), nullptr);
    EXPECT_EQ(CallLog(),
              (std::vector<uint32_t>{SetNearClip::address, GetPlayerCharacter::address,
                                     LineOfSight::address, PadRightStickY::address,
                                     PadRightStickX::address, LineOfSight::address,
                                     CamPivotRoutine::address, LineOfSight::address,
                                     NormaliseVector::address, NormaliseVector::address,
                                     NormaliseVector::address, CameraAimValue::address}));
}

TEST_F(AimCameraTest, StickTurnsByReadingTimesSensitivityWhateverTheFieldOfView) {
    UsePadStick(64, -32);
    Load({"fFOV=35", "fRightStickVerticalSensitivity=2", "fRightStickHorizontalSensitivity=0.5"});
    Update();
    EXPECT_NEAR(cam.pitch, 0.25, 1e-6);
    EXPECT_NEAR(cam.heading, 0.975, 1e-6);
}

TEST_F(AimCameraTest, BlockedShoulderFallsBackToTheHostsTargetPoint) {
    Load({"fFOV=70"});
    wallsAlong = {0.5f};  // between the shoulder and last frame's camera
    Update();
    EXPECT_EQ(ShoulderBlocked(), 1);
    ExpectNear(cam.pivot, {10.0f, 20.0f, 5.3513307f}, 2e-6, "pivot");
    ExpectNear(cam.position, {10.852033f, 21.326962f, 5.6646233f}, 2e-5, "position");

    Update();  // the wall is gone
    EXPECT_EQ(ShoulderBlocked(), 0);
}

TEST_F(AimCameraTest, AtZoomStepOneTheShoulderPointIsCloser) {
    Load({"fFOV=70"});
    camera.zoomStep = 1.0f;
    HostMatrix& placement = world.character->entity.placement;
    placement.attachment = Ptr<void>(0x9F6300);
    placement.right = {1.0f, 0.0f, 0.0f};
    placement.up = {0.0f, 0.0f, 1.0f};
    std::vector<Vector3> offsets;
    auto transform = TransformPoint::answer;
    TransformPoint::answer = [&](Vector3* out, const HostMatrix* m, const Vector3* local) {
        offsets.push_back(*local);
        return transform(out, m, local);
    };
    Update();
    ASSERT_EQ(offsets.size(), 1u);
    ExpectNear(offsets[0], {0.425f, 0.935f, 0.105f}, 0, "offset");
    EXPECT_EQ(std::get<1>(TransformPoint::calls[0]), &placement);
    // No shortening away from zoom step 2: R = 0.5 x 2.0905559 + 0.35.
    ExpectNear(cam.pivot, {10.425f, 20.935f, 5.4563307f}, 2e-6, "pivot");
    ExpectNear(cam.position, {11.178872f, 22.109086f, 5.7335296f}, 2e-5, "position");
}

TEST_F(AimCameraTest, LockedOnTheCameraGoesToTheFarSideOfThePivotFromTheTarget) {
    Load({"fFOV=70"});
    world.other->placement.position = {0.0f, 0.0f, 0.0f};
    struct Case {
        HostEntity* target;
        uint8_t lock07;
        float heading, pitch;
    };
    // Heading: angle of last camera minus target (13, 24); pitch: angle of (2.0450188,
    // 1.0728383), the rescaled offset.
    const Case cases[] = {
        {world.other, 0, 1.0743736f, 0.48314158f},
        {nullptr, 0, 1.0f, 0.48314158f},
        {world.other, 1, 1.0f, 0.2f},
    };
    for (const Case& c : cases) {
        AngleOfVector::calls.clear();
        world.character->targetLock = 1;
        world.character->lockedTarget = c.target;
        world.character->aimValue = 9.0f;
        PoseCamera();
        cam.inputLock[0] = c.lock07;
        Update();
        EXPECT_NEAR(cam.heading, c.heading, 2e-6);
        EXPECT_NEAR(cam.pitch, c.pitch, 2e-6);
        EXPECT_EQ(world.character->aimValue, 9.0f);  // not while locked on
        EXPECT_TRUE(CameraAimValue::calls.empty());
        if (c.target != nullptr && c.lock07 == 0) {
            ASSERT_EQ(AngleOfVector::calls.size(), 2u);
            EXPECT_EQ(AngleOfVector::calls[0], std::make_tuple(13.0f, 24.0f));
            EXPECT_NEAR(std::get<0>(AngleOfVector::calls[1]), 2.0450188, 2e-6);
            EXPECT_NEAR(std::get<1>(AngleOfVector::calls[1]), 1.0728383, 2e-6);
        }
    }
}

TEST_F(AimCameraTest, PitchReachesNinetyAndMinusHundredDegreesWithTheFullOrbitAcross) {
    Load({"fFOV=70"});
    ExpectPitchLimits({{-1000.0f, 1.5707964f, {11.312979f, 22.266139f, 6.9560042f}},
                       {1000.0f, -1.7453294f, {11.312979f, 22.266139f, 3.9695165f}}},
                      [this] {
                          PoseCamera();
                          Update();
                          EXPECT_NEAR(cam.distanceA, 1.5046735, 2e-5);
                      });
}

// Without input the camera is first placed 1.5340807 from the pivot along
// u = (0.5299454, 0.8253406, 0.1948610).
TEST_F(AimCameraTest, BothPassesPullTheCameraInBeyondPointThree) {
    Load({"fFOV=70"});
    struct Case {
        std::optional<float> first, second;
        float distance;
        size_t nearClips;
    };
    const Case cases[] = {
        {0.35f, std::nullopt, 0.05f, 2}, {0.25f, std::nullopt, 0.25f, 2},
        {std::nullopt, 0.35f, 0.05f, 2}, {std::nullopt, 0.25f, 0.25f, 2},
        {1.0f, 0.5f, 0.2f, 3},           {std::nullopt, std::nullopt, 1.5340807f, 1},
    };
    const Vector3 u{0.5299454f, 0.8253406f, 0.194861f};
    for (const Case& c : cases) {
        SetNearClip::calls.clear();
        wallsAlong = {std::nullopt, c.first, c.second};
        PoseCamera();
        Update();
        const Vector3& p = ShoulderPivot;
        ExpectNear(cam.position,
                   {p.x + u.x * c.distance, p.y + u.y * c.distance, p.z + u.z * c.distance}, 2e-5,
                   "position");
        EXPECT_EQ(SetNearClip::calls.size(), c.nearClips) << c.distance;
    }
}

TEST_F(AimCameraTest, PlacementRequestsTurnTheCameraButTheAdoptRequestIsNotRead) {
    Load({"fFOV=70"});
    struct Case {
        uint8_t adopt, behind, inFront;
        float heading, pitch;
    };
    const Case cases[] = {
        {1, 0, 0, 1.0f, 0.2f},
        {0, 1, 0, 3.3915927f, 0.0f},
        {0, 0, 1, 0.25f, 0.0f},
    };
    for (const Case& c : cases) {
        PoseCamera();
        cam.resetRaised = 0;
        cam.requestedHeading = -2.0f;
        camera.adoptHeadingRequest = c.adopt;
        camera.placeBehindRequest = c.behind;
        camera.placeInFrontRequest = c.inFront;
        Update();
        EXPECT_NEAR(cam.heading, c.heading, 1e-6);
        EXPECT_NEAR(cam.pitch, c.pitch, 1e-6);
        EXPECT_EQ(cam.resetRaised, c.behind);
        EXPECT_EQ(camera.placeBehindRequest, 0);
        EXPECT_EQ(camera.placeInFrontRequest, 0);
        ExpectNear(cam.position, {11.312979f, 22.266139f, 5.7502632f}, 2e-5, "position");
    }
}

TEST_F(AimCameraTest, WithoutAPlayerCharacterTheRecordStaysAsTheHostLeftIt) {
    Load({"fFOV=70"});
    struct Case {
        bool hostAnswersNull;
        bool focusedRecordEmpty;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        if (c.hostAnswersNull)
            GetPlayerCharacter::answer = [] { return static_cast<HostCharacter*>(nullptr); };
        if (c.focusedRecordEmpty) HostPlayerRecord0().character = nullptr;
        const std::vector<uint8_t> before = MarkUpdateBytes();
        CallLog().clear();
        Update();
        ExpectRecordKeptApartFromUpdateBytes(before);
        EXPECT_EQ(CallLog(), (std::vector<uint32_t>{SetNearClip::address,
                                                    GetPlayerCharacter::address}));
        EXPECT_EQ(world.character->aimValue, 9.0f);
    }
}

}  // namespace
}  // namespace camtest
