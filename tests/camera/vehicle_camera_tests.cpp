// The vehicle camera, entered through the host's three vehicle camera calls. Expected
// numbers are worked by hand from the vehicle camera's steps for the scene below.
#include <cmath>

#include "tests/camera/camera_test_support.h"

namespace camtest {
namespace {

constexpr int16_t VehicleModel = 90;

class VehicleCameraTest : public CameraTest {
protected:
    // A vehicle of model 90 with the box (-1, -2.5, -0.5)..(1, 2.5, 1), controlled by the
    // player: the box grows to 2.7 x 9.6 x 2.2 (diagonal 10.212248), the pivot is raised to
    // (10, 20, 6.2) and lifted by 0.67386128; orbit 1.0 + 10.212248 - 0.1 + 0.25. Last
    // frame's camera at (5, 12, 8), pitch 0.1, heading 1.0.
    void SetUp() override {
        CameraTest::SetUp();
        HostVehicle& vehicle = *world.vehicle;
        vehicle.entity.typeAndStatus = 0x12;  // kind 2 in the low bits
        UseModel(VehicleModel);
        world.vehicleCol->boxMin = {-1.0f, -2.5f, -0.5f};
        world.vehicleCol->boxMax = {1.0f, 2.5f, 1.0f};
        vehicle.entity.placement.forward = {0.0f, 1.0f, 0.0f};
        HostPlayerRecord0().controlledVehicle = world.vehicle;
        camera.vehicleDistance = 1.0f;
        camera.cams[0].handControlUntil = 11500;
        At<int32_t>(HostTimeMsAddress) = 10000;
        cam.target = &vehicle.entity;
        cam.stateWord = 3;
        PoseCamera();
        MarkUpdateBytes();
        GetPlayerHeading::answer = [] { return 0.5f; };
    }
    void PoseCamera() {
        cam.position = {5.0f, 12.0f, 8.0f};
        cam.front = {0.0f, 1.0f, 0.0f};
        cam.pitch = 0.1f;
        cam.heading = 1.0f;
    }
    void UseModel(int16_t model) {
        world.vehicle->entity.modelIndex = model;
        At<HostModelInfo*>(HostModelInfoTableAddress + 4 * model) = world.vehicleModel;
    }
    SiteResult Update(uint32_t site = VehicleSites[0]) {
        return EnterCameraSite(site, HostTarget, HostHeading, Addr(&camera.cams[2]));
    }
};

// Without input the camera sits here.
const Vector3 RestingPosition{3.8916211f, 10.486764f, 8.0081933f};
const Vector3 RaisedPivot{10.0f, 20.0f, 6.2f};

TEST_F(VehicleCameraTest, OrbitsBehindThePivotSizedByTheVehiclesBox) {
    LoadCameraPlugin({"fFOV=70"});
    Mouse(10.0f, -4.0f);
    std::vector<Vector3> pivotsSeen;
    std::vector<HostEntity*> ignoredAtPivot;
    CamPivotRoutine::answer = [&](HostCamRecord*, const Vector3* pivot) {
        pivotsSeen.push_back(*pivot);
        ignoredAtPivot.push_back(HostIgnoredEntity());
    };
    for (uint32_t site : VehicleSites) {
        PoseCamera();
        MarkUpdateBytes();
        sightCalls.clear();
        CallLog().clear();
        Update(site);

        EXPECT_EQ(ReadBytes(Addr(&cam), 2), (std::vector<uint8_t>{0, 0}));
        EXPECT_EQ(cam.clearedC, 0);
        EXPECT_EQ(cam.fov, 70.0f);
        EXPECT_NEAR(cam.vehicleDistance, 11.112248, 2e-5);
        EXPECT_EQ(cam.vehicleNearDistance, 3.5f);  // 0.6 x 10.212248 held at 3.5
        // The look point is the camera with its height mirrored about the pivot; 0x7C and
        // 0x8C take all three components.
        ExpectFrame(cam, {.pitch = 0.135f,
                          .heading = 0.9453125f,
                          .pivot = RaisedPivot,
                          .position = {3.4080513f, 10.872663f, 8.4031097f},
                          .lookPoint = {3.4080513f, 10.872663f, 3.9968903f},
                          .orbitDistance = 11.472391f,
                          .distance = 11.472391f,
                          .front = {0.57459239f, 0.7955915f, -0.19203579f},
                          .up = {0.11243495f, 0.15567956f, 0.98138792f}});

        ASSERT_EQ(sightCalls.size(), 1u);
        const std::array<bool, 7> flags{1, 0, 0, 1, 1, 1, 1};
        EXPECT_EQ(sightCalls[0].flags, flags);
        ExpectNear(sightCalls[0].start, RaisedPivot, 1e-6, "sight start");
        ExpectNear(sightCalls[0].end, cam.position, 0, "sight end");
        EXPECT_EQ(sightCalls[0].presetHitEntity, nullptr);
        EXPECT_EQ(sightCalls[0].ignoredEntity, &world.vehicle->entity);
        EXPECT_EQ(HostIgnoredEntity(), nullptr);
        ExpectNear(pivotsSeen.back(), RaisedPivot, 1e-6, "pivot routine");
        EXPECT_EQ(ignoredAtPivot.back(), &world.vehicle->entity);
        EXPECT_EQ(std::get<0>(CamPivotRoutine::calls.back()), &cam);
        EXPECT_EQ(std::get<0>(SetNearClip::calls.back()), Ptr<void>(RenderCameraHandle));
        EXPECT_EQ(std::get<1>(SetNearClip::calls.back()), 0.05f);
        EXPECT_EQ(CallLog(), (std::vector<uint32_t>{SetNearClip::address,
                                                    CamPivotRoutine::address,
                                                    LineOfSight::address, NormaliseVector::address,
                                                    NormaliseVector::address,
                                                    NormaliseVector::address}));
    }
}

TEST_F(VehicleCameraTest, WithoutAControllingPlayerTheBoxIsNotEnlarged) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        bool hostKnowsTheDriver;  // HostGetPlayerVehicle answers the vehicle
    };
    for (const Case c : {Case{false}, Case{true}}) {
        HostPlayerRecord0().controlledVehicle = nullptr;
        HostVehicle* driven = c.hostKnowsTheDriver ? world.vehicle : nullptr;
        GetPlayerVehicle::answer = [driven] { return driven; };
        PoseCamera();
        Update();
        // Box 2 x 5 x 1.5: diagonal 5.5901699, pivot (10, 20, 5.5), same lift.
        EXPECT_NEAR(cam.vehicleDistance, 6.4901699, 2e-5);
        EXPECT_NEAR(cam.vehicleNearDistance, 3.354102, 2e-5);
        ExpectNear(cam.pivot, {10.0f, 20.0f, 5.5f}, 1e-6, "pivot");
        ExpectNear(cam.position, {6.3764641f, 14.356677f, 6.8467555f}, 2e-5, "position");
        ExpectNear(cam.lookPoint, {6.3764641f, 14.356677f, 4.1532445f}, 2e-5, "look point");
    }
}

TEST_F(VehicleCameraTest, TargetsThatAreNoUsableVehicleLeaveTheCameraAlone) {
    LoadCameraPlugin({"fFOV=70"});
    cam.stateWord = 0;  // would raise the place-behind request
    struct Case {
        const char* what;
        uint8_t kind;
        HostEntity* target;
        HostModelInfo* modelInfo;
        HostColModel* colModel;
        int16_t model;
    };
    const Case cases[] = {
        {"a character", 0x13, &world.vehicle->entity, world.vehicleModel, world.vehicleCol, 90},
        {"no target", 0x12, nullptr, world.vehicleModel, world.vehicleCol, 90},
        {"no model info", 0x12, &world.vehicle->entity, nullptr, world.vehicleCol, 90},
        {"no collision model", 0x12, &world.vehicle->entity, world.vehicleModel, nullptr, 90},
        {"a negative model", 0x12, &world.vehicle->entity, world.vehicleModel, world.vehicleCol,
         -2},
    };
    for (const Case& c : cases) {
        world.vehicle->entity.typeAndStatus = c.kind;
        world.vehicle->entity.modelIndex = c.model;
        At<HostModelInfo*>(HostModelInfoTableAddress + 4 * VehicleModel) = c.modelInfo;
        world.vehicleModel->colModel = c.colModel;
        cam.target = c.target;
        MarkUpdateBytes();
        At<Vector3>(TargetPointAddress) = HostTarget;
        const HostSnapshot before = SnapshotHost();
        CallLog().clear();
        Update();
        ByteMap expected;
        expected[Addr(&cam)] = 0;
        expected[Addr(&cam) + 1] = 0;
        expected[Addr(&cam) + 4] = 0;
        EXPECT_EQ(ChangedBytes(before), expected) << c.what;
        EXPECT_TRUE(CallLog().empty()) << c.what;
    }
}

TEST_F(VehicleCameraTest, UntilTheStateWordReadsThreeTheOrbitIsHeldBehindTheVehicle) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        int32_t stateWord;
        uint8_t adopt, behind, inFront;
        float heading, pitch;
        uint8_t resetRaised;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0.25f, 0.0f, 1},         // place behind: the target's heading
        {3, 0, 0, 0, 1.0f, 0.1f, 0},
        {3, 1, 0, 0, -2.0f, 0.1f, 0},         // adopt the host's heading
        {3, 0, 0, 1, 3.3915927f, 0.0f, 0},    // place in front: heading + pi
        {7, 0, 0, 1, 3.3915927f, 0.0f, 1},
    };
    for (const Case& c : cases) {
        PoseCamera();
        cam.stateWord = c.stateWord;
        cam.resetRaised = 0;
        cam.requestedHeading = -2.0f;
        camera.adoptHeadingRequest = c.adopt;
        camera.placeBehindRequest = c.behind;
        camera.placeInFrontRequest = c.inFront;
        Update();
        EXPECT_NEAR(cam.heading, c.heading, 1e-6) << c.stateWord;
        EXPECT_NEAR(cam.pitch, c.pitch, 1e-6) << c.stateWord;
        EXPECT_EQ(cam.resetRaised, c.resetRaised) << c.stateWord;
        EXPECT_EQ(camera.placeBehindRequest, 0);
        EXPECT_EQ(camera.placeInFrontRequest, 0);
        ExpectNear(cam.position, RestingPosition, 3e-5, "position");  // this frame's angles
    }
}

TEST_F(VehicleCameraTest, WithAPadAMovingVehicleDragsTheOrbitBehindIt) {
    LoadFakeGInput().padActive = 1;
    struct Case {
        const char* autoFocus;
        float movement;
        bool trails;
    };
    const Case cases[] = {
        {"bNoAutoFoc=0", 0.11f, true},
        {"bNoAutoFoc=0", 0.1f, false},
        {"bNoAutoFoc=1", 0.11f, false},
    };
    for (const Case& c : cases) {
        LoadCameraPlugin({"fFOV=70", c.autoFocus});
        AngleOfVector::calls.clear();
        world.vehicle->entity.movement = c.movement;
        PoseCamera();
        Update();
        // From the pivot's offset to last frame's camera (5, 8, 1.1261387).
        EXPECT_NEAR(cam.heading, c.trails ? 1.012197 : 1.0, 2e-6) << c.movement;
        EXPECT_NEAR(cam.pitch, c.trails ? 0.1109548 : 0.1, 2e-6) << c.movement;
        ASSERT_EQ(AngleOfVector::calls.size(), c.trails ? 2u : 0u);
        if (c.trails) {
            EXPECT_EQ(AngleOfVector::calls[0], std::make_tuple(5.0f, 8.0f));
            EXPECT_NEAR(std::get<0>(AngleOfVector::calls[1]), 10.107842, 2e-5);
            EXPECT_NEAR(std::get<1>(AngleOfVector::calls[1]), 1.1261387, 2e-6);
        }
    }
}

TEST_F(VehicleCameraTest, WithoutAPadTrailingWaitsForTheHandControlStamp) {
    LoadCameraPlugin({"fFOV=70"});
    world.vehicle->entity.movement = 0.5f;
    struct Case {
        int32_t now, stamp;
        uint8_t lock07, behind;
        bool controlled;
        bool trails;
    };
    const Case cases[] = {
        {10000, 11500, 0, 0, true, false},  // within 1500 ms of the last camera input
        {11500, 11500, 0, 0, true, false},
        {11501, 11500, 0, 0, true, true},
        {11501, 11500, 1, 0, true, false},
        {11501, 11500, 0, 1, true, false},
        {11501, 11500, 0, 0, false, false},
        {-2147483647, 2147483647, 0, 0, true, false},  // signed: the clock is behind
        {5, -5, 0, 0, true, true},
    };
    for (const Case& c : cases) {
        At<int32_t>(HostTimeMsAddress) = c.now;
        camera.cams[0].handControlUntil = c.stamp;
        cam.inputLock[0] = c.lock07;
        camera.placeBehindRequest = c.behind;
        HostPlayerRecord0().controlledVehicle = c.controlled ? world.vehicle : nullptr;
        AngleOfVector::calls.clear();
        PoseCamera();
        Update();
        EXPECT_EQ(AngleOfVector::calls.size(), c.trails ? 2u : 0u) << c.now << " " << c.stamp;
        if (c.trails) {
            EXPECT_NEAR(cam.heading, 1.012197, 2e-6);
        }
    }
}

TEST_F(VehicleCameraTest, ListedModelsIgnoreTheStickButNotTheMouse) {
    UsePadStick(64, -32);
    struct Case {
        const char* list;
        int16_t model;
        bool controlled;
        bool stick;
    };
    const Case cases[] = {
        {"ModelID5=90", 90, true, false},
        {"ModelID20=90", 90, true, false},
        {"ModelID5=90", 91, true, true},
        {"ModelID5=90", 90, false, true},  // no controlled vehicle: the stick is allowed
    };
    for (const Case& c : cases) {
        LoadCameraPlugin({"fFOV=70", c.list, "fRightStickVerticalSensitivity=1",
                          "fRightStickHorizontalSensitivity=1"});
        UseModel(c.model);
        HostPlayerRecord0().controlledVehicle = c.controlled ? world.vehicle : nullptr;
        PoseCamera();
        Mouse(0.0f, -4.0f);
        Update();
        // Mouse: + 0.035; stick: pitch + 32 x 0.5 x 0.875 / 1280, heading - 64 x 0.5 x
        // 0.875 / 1280.
        EXPECT_NEAR(cam.pitch, c.stick ? 0.1459375 : 0.135, 1e-6) << c.list << " " << c.model;
        EXPECT_NEAR(cam.heading, c.stick ? 0.978125 : 1.0, 1e-6) << c.list << " " << c.model;
        EXPECT_EQ(PadRightStickY::calls.empty(), !c.stick);
        PadRightStickX::calls.clear();
        PadRightStickY::calls.clear();
    }
}

TEST_F(VehicleCameraTest, PitchStaysBetweenMinus20And80Degrees) {
    LoadCameraPlugin({"fFOV=70"});
    ExpectPitchLimits({{-1000.0f, 1.3962634f, {8.9339654f, 18.339749f, 18.063491f}},
                       {1000.0f, -0.34906584f, {4.2311814f, 11.015597f, 2.9877439f}}},
                      [this] {
                          PoseCamera();
                          Update();
                      });
}

TEST_F(VehicleCameraTest, DynamicFieldOfViewWithoutShorteningTheOrbit) {
    LoadCameraPlugin({"fFOV=70", "bDynamicFOV=1"});
    cam.pitch = -0.3f;
    Update();
    EXPECT_NEAR(cam.fov, 84.77601, 2e-5);
    EXPECT_NEAR(cam.orbitDistance, 11.181655, 3e-5);
}

TEST_F(VehicleCameraTest, ResetRequestStopsThePitchRateAndStampsTheHostClock) {
    LoadCameraPlugin({"fFOV=70"});
    for (uint8_t stampFlag : {0, 1}) {
        cam.resetRequest = 1;
        cam.pitchRate = 0.7f;
        camera.resetStampFlag = stampFlag;
        camera.resetStamp = 77;
        Update();
        EXPECT_EQ(cam.pitchRate, 0.0f);
        EXPECT_EQ(camera.resetStamp, stampFlag ? 10000 : 77);
        EXPECT_EQ(cam.resetRequest, 0);
    }
}

TEST_F(VehicleCameraTest, ShoulderPivotLiesToTheVehiclesLeft) {
    LoadCameraPlugin({"fFOV=70", "bIVVehicleCamera=1"});
    world.vehicle->entity.placement.position = {30.0f, 40.0f, 2.0f};
    Update();
    ExpectNear(cam.pivot, {29.68f, 40.0f, 3.2f}, 2e-6, "pivot");
    ExpectNear(cam.position, {23.571621f, 30.486764f, 5.0081933f}, 3e-5, "position");

    HostPlayerRecord0().controlledVehicle = nullptr;  // and the host knows no driver
    Update();
    EXPECT_NEAR(cam.pivot.x, 10.0f, 1e-6);  // the host's target point
}

// Without input the camera is first placed 11.449171 from the pivot.
TEST_F(VehicleCameraTest, OneLineOfSightPullsTheCameraInBeyondPointFour) {
    LoadCameraPlugin({"fFOV=70"});
    struct Case {
        float wall, distance;
    };
    for (const Case c : {Case{0.35f, 0.35f}, Case{0.5f, 0.2f}, Case{5.0f, 4.7f}}) {
        SetNearClip::calls.clear();
        wallsAlong = {c.wall};
        PoseCamera();
        Update();
        EXPECT_NEAR(Distance(cam.position, RaisedPivot), c.distance, 2e-5) << c.wall;
        EXPECT_NEAR(cam.orbitDistance, 11.449171, 3e-5);
        EXPECT_NEAR(cam.distanceA, c.distance, 2e-5);
        EXPECT_EQ(SetNearClip::calls.size(), 1u);  // the near clip is left alone here
    }
}

class VehiclePartTest : public VehicleCameraTest {
protected:
    // The frame's matrix, as the host's matrix object sees it once attached.
    static constexpr Vector3 FramePosition{3.0f, -4.0f, 1.5f};
    void SetUp() override {
        VehicleCameraTest::SetUp();
        HostMatrix& frameMatrix = At<HostMatrix>(PartFrameAddress + 0x10);
        frameMatrix.position = FramePosition;
        MatrixAttach::answer = [](HostMatrix* matrix, void* frame, int32_t) {
            matrix->position = static_cast<HostMatrix*>(frame)->position;
        };
        MatrixSetRotateZ::answer = [](HostMatrix* matrix, float angle) {
            const float c = std::cos(angle), s = std::sin(angle);
            matrix->right = {c, s, 0.0f};
            matrix->forward = {-s, c, 0.0f};
            matrix->up = {0.0f, 0.0f, 1.0f};
            matrix->position = {0.0f, 0.0f, 0.0f};
        };
        MatrixUpdate::answer = [this](HostMatrix* matrix) { positionAtUpdate = matrix->position; };
    }
    Vector3 positionAtUpdate{};
};

// Without input, a = atan2(ox, oy) with ox, oy = 11.362248 cos 0.1 (cos 1, sin 1) plus
// last frame's front (0, 1): 0.52634515; sin(pitch) = 0.099833417; player heading 0.5.
TEST_F(VehiclePartTest, TheFiretruckCannonFollowsTheCameraAndItsFrameTurns) {
    LoadCameraPlugin({"fFOV=70", "bControlVehParts=1"});
    UseModel(97);
    world.vehicle->partFrame = Ptr<uint8_t>(PartFrameAddress);
    CallLog().clear();
    Update();
    EXPECT_NEAR(world.vehicle->partHeading, 1.0263452, 2e-6);
    EXPECT_NEAR(world.vehicle->partElevation, 0.099833417, 1e-7);
    ASSERT_EQ(MatrixAttach::calls.size(), 1u);
    HostMatrix* matrix = std::get<0>(MatrixAttach::calls[0]);
    EXPECT_EQ(std::get<1>(MatrixAttach::calls[0]), Ptr<void>(PartFrameAddress + 0x10));
    EXPECT_EQ(std::get<2>(MatrixAttach::calls[0]), 0);
    ASSERT_EQ(MatrixSetRotateZ::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(MatrixSetRotateZ::calls[0]), matrix);
    EXPECT_NEAR(std::get<1>(MatrixSetRotateZ::calls[0]), -1.0263452, 2e-6);
    ExpectNear(positionAtUpdate, FramePosition, 0, "frame position kept");
    EXPECT_EQ(MatrixUpdate::calls, std::vector<MatrixUpdate::Call>{{matrix}});
    EXPECT_EQ(MatrixRelease::calls, std::vector<MatrixRelease::Call>{{matrix}});
    const std::vector<uint32_t> log = CallLog();
    EXPECT_EQ(std::vector<uint32_t>(log.end() - 5, log.end()),
              (std::vector<uint32_t>{GetPlayerHeading::address, MatrixAttach::address,
                                     MatrixSetRotateZ::address, MatrixUpdate::address,
                                     MatrixRelease::address}));

    // Without a frame only the two fields are written.
    world.vehicle->partFrame = nullptr;
    MatrixAttach::calls.clear();
    PoseCamera();
    Update();
    EXPECT_TRUE(MatrixAttach::calls.empty());
    EXPECT_NEAR(world.vehicle->partHeading, 1.0263452, 2e-6);
}

TEST_F(VehiclePartTest, TheTankTurretTurnsTheOtherWayAndNoFrameIsTouched) {
    LoadCameraPlugin({"fFOV=70", "bControlVehParts=1"});
    UseModel(122);
    world.vehicle->partFrame = Ptr<uint8_t>(PartFrameAddress);
    Update();
    EXPECT_NEAR(world.vehicle->partHeading, -1.0263452, 2e-6);
    EXPECT_NEAR(world.vehicle->partElevation, 0.099833417, 1e-7);
    EXPECT_TRUE(MatrixAttach::calls.empty());
    EXPECT_TRUE(MatrixSetRotateZ::calls.empty());
    EXPECT_EQ(GetPlayerHeading::calls.size(), 1u);
}

TEST_F(VehiclePartTest, PartsStayPutWhenTheOptionIsOffALockHoldsOrNoOneControls) {
    struct Case {
        const char* option;
        uint32_t lock;  // an input-lock byte set, or 0
        bool controlled;
    };
    const Case cases[] = {
        {"bControlVehParts=0", 0, true},
        {"bControlVehParts=1", Addr(&HostCam().inputLock[1]), true},
        {"bControlVehParts=1", Addr(&HostCam().inputLock[2]), true},
        {"bControlVehParts=1", 0, false},
    };
    for (const Case& c : cases) {
        LoadCameraPlugin({"fFOV=70", c.option});
        for (int16_t model : {97, 122}) {
            UseModel(model);
            world.vehicle->partFrame = Ptr<uint8_t>(PartFrameAddress);
            world.vehicle->partHeading = 7.0f;
            world.vehicle->partElevation = 7.0f;
            HostPlayerRecord0().controlledVehicle = c.controlled ? world.vehicle : nullptr;
            if (c.lock != 0) At<uint8_t>(c.lock) = 1;
            Update();
            if (c.lock != 0) At<uint8_t>(c.lock) = 0;
            EXPECT_EQ(world.vehicle->partHeading, 7.0f) << c.option << " " << model;
            EXPECT_EQ(world.vehicle->partElevation, 7.0f) << c.option << " " << model;
            EXPECT_TRUE(GetPlayerHeading::calls.empty());
            EXPECT_TRUE(MatrixAttach::calls.empty());
        }
    }
}

}  // namespace
}  // namespace camtest
