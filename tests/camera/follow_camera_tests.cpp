// The on-foot follow camera, entered through the host's on-foot camera call at 0x459A7C.
// Expected numbers are worked by hand from the follow camera's steps for the scene below.
#include <cmath>

#include "tests/camera/camera_test_support.h"

namespace camtest {
namespace {

class FollowCameraTest : public CameraTest {
protected:
    // The scene: pivot (10, 20, 5.55) after the raise, last frame's camera at
    // (13, 24, 7.75), so the offset is (3, 4, 2) long sqrt(29); zoom step 2.0.
    void SetUp() override {
        CameraTest::SetUp();
        cam.heightOffset = 0.5f;
        PoseCamera();
        cam.pitchRate = 0.7f;
        cam.headingRate = 0.7f;
        cam.target = &world.character->entity;
        MarkUpdateBytes();
    }
    void PoseCamera() {
        cam.position = {13.0f, 24.0f, 7.75f};
        cam.front = {0.0f, 1.0f, 0.0f};
        cam.pitch = 0.1f;
        cam.heading = 1.0f;
    }
    // The host passes its second cam record; the first is the one to update.
    SiteResult Update() {
        return EnterCameraSite(OnFootSite, HostTarget, HostHeading, Addr(&camera.cams[1]));
    }
};

TEST_F(FollowCameraTest, OrbitsThePivotUnderTheMouseAndWritesTheRecord) {
    LoadCameraPlugin({"fFOV=70"});
    Mouse(10.0f, -4.0f);
    const std::vector<uint8_t> otherCams = ReadBytes(Addr(&camera.cams[1]), 2 * 0x1A8);
    Update();  // with the second cam record in ECX: the first is updated all the same

    EXPECT_EQ(ReadBytes(Addr(&cam), 2), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(cam.clearedC, 0);
    EXPECT_EQ(cam.fov, 70.0f);
    // Mouse: pitch 0.1 + 4 x 4.0 x 0.875 x 0.0025, heading 1.0 - 10 x 2.5 x 0.875 x 0.0025.
    // R = 0.5 x 3.34973 + 0.25 + 0.1; the camera 0.2 above its orbit; the look point one
    // previous front (0, 1, 0) further on; distance across 0x7C/0x8C.
    ExpectFrame(cam, {.pitch = 0.135f,
                      .heading = 0.9453125f,
                      .pivot = {10.0f, 20.0f, 5.55f},
                      .position = {11.17475f, 21.62658f, 6.022527f},
                      .lookPoint = {11.17475f, 22.62658f, 6.022527f},
                      .orbitDistance = 2.0613319f,
                      .distance = 2.0064414f,
                      .front = {-0.5698988f, -0.7890926f, -0.2292339f},
                      .up = {-0.1342141f, -0.1858353f, 0.9733714f}});
    EXPECT_EQ(cam.pitchRate, 0.0f);
    EXPECT_EQ(cam.headingRate, 0.0f);

    ASSERT_EQ(SetNearClip::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(SetNearClip::calls[0]), Ptr<void>(RenderCameraHandle));
    EXPECT_EQ(std::get<1>(SetNearClip::calls[0]), 0.05f);
    ASSERT_EQ(sightCalls.size(), 2u);
    const std::array<bool, 7> first{1, 1, 0, 1, 0, 1, 1}, second{1, 1, 1, 1, 0, 1, 1};
    EXPECT_EQ(sightCalls[0].flags, first);
    EXPECT_EQ(sightCalls[1].flags, second);
    for (const SightCall& call : sightCalls) {
        ExpectNear(call.start, {10.0f, 20.0f, 5.55f}, 1e-6, "sight start");
        ExpectNear(call.end, {11.17475f, 21.62658f, 6.022527f}, 2e-5, "sight end");
        EXPECT_EQ(call.presetHitEntity, nullptr);
    }
    EXPECT_EQ(sightCalls[0].ignoredEntity, nullptr);
    EXPECT_EQ(sightCalls[1].ignoredEntity, &world.character->entity);
    EXPECT_EQ(HostIgnoredEntity(), nullptr);
    // Neither the character nor the angle routine is needed in this frame.
    EXPECT_EQ(CallLog(), (std::vector<uint32_t>{SetNearClip::address, LineOfSight::address,
                                                LineOfSight::address, NormaliseVector::address,
                                                NormaliseVector::address,
                                                NormaliseVector::address}));
    EXPECT_EQ(ReadBytes(Addr(&camera.cams[1]), 2 * 0x1A8), otherCams);
}

TEST_F(FollowCameraTest, OrbitRadiusFollowsTheZoomStep) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        float zoomStep;
        Vector3 previous;
        float radius;  // 0.5 x orbit length + 0.25 + 0.1
    };
    const Case cases[] = {
        {1.0f, {13, 24, 7.75f}, 1.395278f},  {2.0f, {13, 24, 7.75f}, 2.024865f},
        {3.0f, {13, 24, 7.75f}, 2.7024571f}, {4.0f, {13, 24, 7.75f}, 1.395278f},
        {2.5f, {13, 24, 7.75f}, 0.35f},      // no orbit length: 0.25 + 0.1
    };
    for (const Case& c : cases) {
        camera.zoomStep = c.zoomStep;
        cam.position = c.previous;
        cam.pitch = 0.0f;
        cam.heading = 0.0f;
        Update();
        // Pitch and heading 0: the camera sits R along +x and 0.2 above the pivot.
        ExpectNear(cam.position, {10.0f + c.radius, 20.0f, 5.75f}, 2e-5, "position");
    }
}

TEST_F(FollowCameraTest, WithNoOffsetTheOrbitStartsFromOneOneZero) {
    LoadCameraPlugin({"fFOV=70"});
    cam.heightOffset = -0.05f;  // pivot (10, 20, 0)
    cam.position = {10.0f, 20.0f, 0.2f};
    cam.pitch = 0.0f;
    cam.heading = 0.0f;
    EnterCameraSite(OnFootSite, {10.0f, 20.0f, 0.0f}, HostHeading);
    // R = 0.5 x sqrt 2 + 0.25 + 0.1.
    ExpectNear(cam.position, {11.0571068f, 20.0f, 0.2f}, 2e-5, "position");
}

TEST_F(FollowCameraTest, PitchStaysBetweenMinus50And80Degrees) {
    LoadCameraPlugin({"fFOV=70"});
    ExpectPitchLimits({{-1000.0f, 1.3962634f, {10.189978f, 20.295873f, 7.7441028f}},
                       {1000.0f, -0.87266469f, {10.703235f, 21.095223f, 4.1988633f}}},
                      [this] {
                          PoseCamera();
                          Update();
                      });
}

TEST_F(FollowCameraTest, AnglesAreWrappedIntoMinusPiToPiBeforeInput) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        float heading, pitch;
        float wrappedHeading, wrappedPitch;
    };
    // The float nearest pi lies above pi: it is wrapped too.
    const Case cases[] = {
        {4.0f, 0.1f, -2.2831853f, 0.1f},
        {-7.0f, 0.1f, -0.71681469f, 0.1f},
        {3.14159274f, -3.14159274f, -3.14159257f, 1.3962634f},  // pitch 3.1415926, clamped
        {1.0f, 6.5f, 1.0f, 0.21681469f},
    };
    for (const Case& c : cases) {
        cam.heading = c.heading;
        cam.pitch = c.pitch;
        Update();
        EXPECT_NEAR(cam.heading, c.wrappedHeading, 1e-6) << c.heading;
        EXPECT_NEAR(cam.pitch, c.wrappedPitch, 1e-6) << c.pitch;
    }
}

TEST_F(FollowCameraTest, DynamicFieldOfViewWidensAsTheCameraLooksUpAndShortensAtZoomTwo) {
    struct Case {
        const char* dynamic;
        const char* fov;
        float zoomStep, pitch, characterZ;
        float expectedFov, expectedOrbitDistance;
    };
    const Case cases[] = {
        // 70 + 50 sin 0.3; orbit shortened by 45 sin 0.3 - (2 - 1).
        {"bDynamicFOV=1", "fFOV=70", 2.0f, -0.3f, 2.0f, 84.77601f, 0.82341583f},
        // Camera above the pivot: fFOV, no shortening.
        {"bDynamicFOV=1", "fFOV=70", 2.0f, 0.3f, 2.0f, 70.0f, 2.0927096f},
        // Zoom step 1.0: only the character's height below 1.0 shortens (by 0.5).
        {"bDynamicFOV=1", "fFOV=70", 1.0f, -0.3f, 0.5f, 84.77601f, 1.2619164f},
        {"bDynamicFOV=1", "fFOV=100", 2.0f, -0.3f, 20.0f, 100.0f, 1.9750248f},
        {"bDynamicFOV=1", "fFOV=120", 2.0f, 0.3f, 20.0f, 100.0f, 2.0927096f},
        // Shortening held at 15.
        {"bDynamicFOV=1", "fFOV=70", 2.0f, -0.87f, -10.0f, 100.0f, 0.65245729f},
        {"bDynamicFOV=0", "fFOV=120", 2.0f, -0.3f, 2.0f, 120.0f, 1.9750248f},
    };
    for (const Case& c : cases) {
        LoadCameraPlugin({c.dynamic, c.fov});
        camera.zoomStep = c.zoomStep;
        cam.position = {13.0f, 24.0f, 7.75f};
        cam.pitch = c.pitch;
        world.character->entity.placement.position.z = c.characterZ;
        Update();
        EXPECT_NEAR(cam.fov, c.expectedFov, 2e-5) << c.dynamic << " " << c.fov << " " << c.pitch;
        EXPECT_NEAR(cam.orbitDistance, c.expectedOrbitDistance, 2e-5)
            << c.dynamic << " " << c.fov << " " << c.pitch;
    }
}

// Zoom step 3, pitch and heading 0: the camera is first placed at (12.7024571, 20, 5.75),
// 2.7098476 from the pivot along u = (0.9972727, 0, 0.0738049).
TEST_F(FollowCameraTest, WallsPullTheCameraInAfterEachLineOfSight) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        std::optional<float> first, second;
        float distance;  // from the pivot afterwards
        size_t nearClips;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 2.7098476f, 1},
        {0.35f, std::nullopt, 0.35f, 2},  // first pass: within 0.4 the camera stays on the hit
        {0.5f, std::nullopt, 0.2f, 2},
        {std::nullopt, 0.35f, 0.05f, 2},  // second pass: beyond 0.3 it is pulled 0.3 in
        {std::nullopt, 0.25f, 0.25f, 2},
        {0.35f, 0.35f, 0.05f, 3},
        {2.5f, std::nullopt, 2.2f, 1},  // 2.194 from the pivot horizontally: near clip kept
        {2.3f, std::nullopt, 2.0f, 2},  // 1.9945 horizontally
    };
    const Vector3 pivot{10.0f, 20.0f, 5.55f};
    const Vector3 u{0.9972727f, 0.0f, 0.073804888f};
    for (const Case& c : cases) {
        SetNearClip::calls.clear();
        sightCalls.clear();
        wallsAlong = {c.first, c.second};
        camera.zoomStep = 3.0f;
        cam.position = {13.0f, 24.0f, 7.75f};
        cam.pitch = 0.0f;
        cam.heading = 0.0f;
        Update();
        const Vector3 expected{pivot.x + u.x * c.distance, pivot.y, pivot.z + u.z * c.distance};
        ExpectNear(cam.position, expected, 2e-5, "position");
        EXPECT_NEAR(cam.orbitDistance, 2.7098476, 2e-5);  // before the walls
        EXPECT_EQ(SetNearClip::calls.size(), c.nearClips) << c.distance;
        for (const auto& call : SetNearClip::calls) EXPECT_EQ(std::get<1>(call), 0.05f);
        ASSERT_EQ(sightCalls.size(), 2u);
        // The second pass looks from the pivot at where the first left the camera.
        const float afterFirst = c.first ? (*c.first > 0.4f ? *c.first - 0.3f : *c.first)
                                         : 2.7098476f;
        EXPECT_NEAR(Distance(sightCalls[1].end, pivot), afterFirst, 2e-5);
    }
}

TEST_F(FollowCameraTest, HostRequestsSetTheAnglesForTheNextFrame) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        uint8_t adopt, behind, inFront;
        float heading, pitch;
        uint8_t resetRaised;
    };
    const Case cases[] = {
        {1, 0, 0, -2.0f, 0.1f, 0},
        {0, 1, 0, 3.3915927f, 0.0f, 1},  // target heading + pi
        {0, 0, 1, 0.25f, 0.0f, 0},
        {1, 0, 1, 0.25f, 0.0f, 0},
        {0, 1, 1, 0.25f, 0.0f, 1},
    };
    for (const Case& c : cases) {
        cam.position = {13.0f, 24.0f, 7.75f};
        cam.pitch = 0.1f;
        cam.heading = 1.0f;
        cam.resetRaised = 0;
        cam.requestedHeading = -2.0f;
        camera.adoptHeadingRequest = c.adopt;
        camera.placeBehindRequest = c.behind;
        camera.placeInFrontRequest = c.inFront;
        Update();
        EXPECT_NEAR(cam.heading, c.heading, 1e-6);
        EXPECT_NEAR(cam.pitch, c.pitch, 1e-6);
        EXPECT_EQ(cam.resetRaised, c.resetRaised);
        EXPECT_EQ(camera.placeBehindRequest, 0);
        EXPECT_EQ(camera.placeInFrontRequest, 0);
        EXPECT_EQ(camera.adoptHeadingRequest, c.adopt);  // the host's to clear
        // This frame is still placed from pitch 0.1 and heading 1.0.
        ExpectNear(cam.position, {11.08857f, 21.69535f, 5.952149f}, 2e-5, "position");
    }
}

TEST_F(FollowCameraTest, ResetRequestIsConsumed) {
    LoadCameraPlugin({"fFOV=70"});
    cam.resetRequest = 1;
    cam.resetCleared = 1;
    Update();
    EXPECT_EQ(cam.resetRequest, 0);
    EXPECT_EQ(cam.resetCleared, 0);
    EXPECT_EQ(cam.resetRaised, 1);
}

TEST_F(FollowCameraTest, ControlLockRequestsAndInputLocksHoldTheMouseBack) {
    LoadCameraPlugin({"fFOV=70"});
    const uint32_t locks[] = {HostControlLockAddress, Addr(&camera.placeBehindRequest),
                              Addr(&camera.placeInFrontRequest), Addr(&cam.inputLock[0]),
                              Addr(&cam.inputLock[1]), Addr(&cam.inputLock[2])};
    for (uint32_t lock : locks) {
        At<uint8_t>(lock) = 1;
        cam.pitch = 0.1f;
        cam.pitchRate = 0.7f;
        Mouse(10.0f, -4.0f);
        Update();
        EXPECT_EQ(cam.pitchRate, 0.7f) << std::hex << lock;
        if (lock != Addr(&camera.placeBehindRequest) && lock != Addr(&camera.placeInFrontRequest)) {
            EXPECT_NEAR(cam.pitch, 0.1, 1e-7) << std::hex << lock;
        }
        At<uint8_t>(lock) = 0;
    }
}

TEST_F(FollowCameraTest, WithAPadTheCameraTrailsAWalkingCharacterThenTakesTheStick) {
    FakeGInputControl& ginput = LoadFakeGInput();
    ginput.padActive = 1;
    PadRightStickX::answer = [](HostPad*) { return 64; };
    PadRightStickY::answer = [](HostPad*) { return -32; };
    struct Case {
        const char* autoFocus;
        float movement;
        uint8_t lock07;
        bool trails;
        float heading, pitch;
    };
    // Trailing: heading = angle of (1.866088, 2.488117), pitch = angle of (3.310146,
    // 1.244058). Stick: pitch + 32 x 0.5 x 0.875 x 2 / 1280, heading - 64 x 0.5 x 0.875
    // x 0.5 / 1280.
    const Case cases[] = {
        {"bNoAutoFoc=0", 0.06f, 0, true, 0.91635772f, 0.38137479f},
        {"bNoAutoFoc=0", 0.059f, 0, false, 0.9890625f, 0.121875f},
        {"bNoAutoFoc=0", 0.06f, 1, false, 1.0f, 0.1f},  // 0x07 stops trailing and stick alike
        {"bNoAutoFoc=1", 0.06f, 0, false, 0.9890625f, 0.121875f},
    };
    for (const Case& c : cases) {
        LoadCameraPlugin({"fFOV=70", c.autoFocus, "fRightStickVerticalSensitivity=2",
                          "fRightStickHorizontalSensitivity=0.5"});
        AngleOfVector::calls.clear();
        cam.position = {13.0f, 24.0f, 7.75f};
        cam.pitch = 0.1f;
        cam.heading = 1.0f;
        cam.inputLock[0] = c.lock07;
        world.character->entity.movement = c.movement;
        Update();
        EXPECT_NEAR(cam.heading, c.heading, 2e-6) << c.autoFocus << " " << c.movement;
        EXPECT_NEAR(cam.pitch, c.pitch, 2e-6) << c.autoFocus << " " << c.movement;
        ASSERT_EQ(AngleOfVector::calls.size(), c.trails ? 2u : 0u);
        if (c.trails) {
            EXPECT_NEAR(std::get<0>(AngleOfVector::calls[0]), 1.866088, 2e-6);
            EXPECT_NEAR(std::get<1>(AngleOfVector::calls[0]), 2.488117, 2e-6);
            EXPECT_NEAR(std::get<0>(AngleOfVector::calls[1]), 3.3101462, 2e-6);
            EXPECT_NEAR(std::get<1>(AngleOfVector::calls[1]), 1.2440585, 2e-6);
        }
    }
}

TEST_F(FollowCameraTest, WithoutGInputTheStickIsNeverReadAndNothingTrails) {
    LoadCameraPlugin({"fFOV=70"});
    PadRightStickX::answer = [](HostPad*) { return 64; };
    PadRightStickY::answer = [](HostPad*) { return -32; };
    world.character->entity.movement = 1.0f;
    Update();
    EXPECT_TRUE(PadRightStickX::calls.empty());
    EXPECT_TRUE(PadRightStickY::calls.empty());
    EXPECT_TRUE(AngleOfVector::calls.empty());
    EXPECT_EQ(cam.heading, 1.0f);
    EXPECT_NEAR(cam.pitch, 0.1, 1e-7);
}

TEST_F(FollowCameraTest, ShoulderPivotLiesToTheCharactersRightWhateverTheHostPasses) {
    LoadCameraPlugin({"fFOV=70", "bIVOnFootCamera=1"});
    HostMatrix& placement = world.character->entity.placement;
    placement.position = {50.0f, 60.0f, 3.0f};
    struct Case {
        Vector3 forward;
        Vector3 pivot;
    };
    const Case cases[] = {
        {{0.0f, 1.0f, 0.0f}, {50.32f, 60.0f, 3.55f}},   // facing +y: right is +x
        {{1.0f, 0.0f, 0.0f}, {50.0f, 59.68f, 3.55f}},   // facing +x: right is -y
        {{0.0f, -1.0f, 0.0f}, {49.68f, 60.0f, 3.55f}},  // facing -y: right is -x
    };
    for (const Case& c : cases) {
        placement.forward = c.forward;
        Update();
        ExpectNear(cam.pivot, c.pivot, 2e-6, "pivot");
    }
    EXPECT_TRUE(TransformPoint::calls.empty());

    // A character with a frame of its own goes through the host's transform.
    placement.attachment = Ptr<void>(0x9F6300);
    placement.right = {0.0f, -1.0f, 0.0f};
    placement.forward = {1.0f, 0.0f, 0.0f};
    placement.up = {0.0f, 0.0f, 1.0f};
    Update();
    ASSERT_EQ(TransformPoint::calls.size(), 1u);
    EXPECT_EQ(std::get<1>(TransformPoint::calls[0]), &placement);
    EXPECT_EQ(Addr(&placement), Addr(world.character) + 4);
    ExpectNear(cam.pivot, {50.0f, 59.68f, 3.55f}, 2e-6, "pivot");
}

TEST_F(FollowCameraTest, WithoutAPlayerCharacterTheRecordStaysAsTheHostLeftIt) {
    GetPlayerCharacter::answer = [] { return static_cast<HostCharacter*>(nullptr); };
    struct Case {
        std::initializer_list<const char*> ini;
        bool pad;
    };
    const Case cases[] = {{{"fFOV=70", "bIVOnFootCamera=1"}, false},
                          {{"fFOV=70", "bDynamicFOV=1"}, false},
                          {{"fFOV=70"}, true}};
    for (const Case& c : cases) {
        if (c.pad) UsePadStick(0, 0);
        LoadCameraPlugin(c.ini);
        cam.resetRequest = 1;
        camera.placeBehindRequest = 1;
        const std::vector<uint8_t> before = MarkUpdateBytes();
        CallLog().clear();
        Update();
        ExpectRecordKeptApartFromUpdateBytes(before);
        EXPECT_EQ(camera.placeBehindRequest, 1);
        EXPECT_EQ(CallLog(), (std::vector<uint32_t>{SetNearClip::address,
                                                    GetPlayerCharacter::address}));
    }
}

TEST_F(FollowCameraTest, ACameraThatNeedsNoCharacterRunsWithoutOne) {
    LoadCameraPlugin({"fFOV=70"});
    GetPlayerCharacter::answer = [] { return static_cast<HostCharacter*>(nullptr); };
    Update();
    ExpectNear(cam.position, {11.08857f, 21.69535f, 5.952149f}, 2e-5, "position");
    EXPECT_TRUE(GetPlayerCharacter::calls.empty());
}

}  // namespace
}  // namespace camtest
