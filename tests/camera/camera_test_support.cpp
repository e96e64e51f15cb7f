#include "tests/camera/camera_test_support.h"

#include <cmath>
#include <string>

namespace camtest {

namespace {

// The first line of a key counts: the given lines override the cameras' switches after them.
std::string IniWithCameras(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).append("\n");
    return text + "bEnable=1\nbProcess_FollowPed=1\nbProcess_FollowVeh=1\n";
}

}  // namespace

void CameraTest::SetUp() {
    KelvoraTest::SetUp();
    camera.zoomStep = 2.0f;
    camera.extraOrbitRadius = 0.1f;
    camera.mouseSensitivityX = 0.0025f;
    camera.mouseSensitivityY = 0.0025f;
    At<uint32_t>(HostRenderCameraAddress) = RenderCameraHandle;
    AngleOfVector::answer = [](float x, float y) { return float(std::atan2(double(y), double(x))); };
    NormaliseVector::answer = [](Vector3* v) {
        const double length = std::sqrt(double(v->x) * v->x + double(v->y) * v->y +
                                        double(v->z) * v->z);
        if (length == 0.0) return;
        *v = {float(v->x / length), float(v->y / length), float(v->z / length)};
    };
    TransformPoint::answer = [](Vector3* out, const HostMatrix* m, const Vector3* p) {
        *out = {m->right.x * p->x + m->forward.x * p->y + m->up.x * p->z + m->position.x,
                m->right.y * p->x + m->forward.y * p->y + m->up.y * p->z + m->position.y,
                m->right.z * p->x + m->forward.z * p->y + m->up.z * p->z + m->position.z};
        return out;
    };
    LineOfSight::answer = [this](const Vector3* start, const Vector3* end, HostColPoint* hit,
                                 HostEntity** hitEntity, bool f1, bool f2, bool f3, bool f4,
                                 bool f5, bool f6, bool f7) {
        sightCalls.push_back({*start, *end, {f1, f2, f3, f4, f5, f6, f7}, *hitEntity,
                              HostIgnoredEntity()});
        if (wallsAlong.empty()) return false;
        const std::optional<float> wall = wallsAlong.front();
        wallsAlong.pop_front();
        if (!wall) return false;
        const double dx = end->x - start->x, dy = end->y - start->y, dz = end->z - start->z;
        const double along = *wall / std::sqrt(dx * dx + dy * dy + dz * dz);
        hit->position = {float(start->x + dx * along), float(start->y + dy * along),
                         float(start->z + dz * along)};
        return true;
    };
}

void CameraTest::TearDown() {
    probe.reset();
    KelvoraTest::TearDown();
}

void CameraTest::LoadCameraPlugin(std::initializer_list<const char*> lines) {
    LoadPlugin(IniWithCameras(lines));
}

void CameraTest::LoadProbe(std::initializer_list<const char*> lines) {
    probe.reset();
    probe = std::make_unique<LoadedPlugin>(TestBinaryPath("camera_probe.dll"),
                                           IniWithCameras(lines));
    probe->Export<void (*)()>("CameraProbeAttach")();
}

void CameraTest::SetAimFlags(uint8_t aiming, uint8_t playerFacesCamera) {
    probe->Export<void (*)(uint8_t, uint8_t)>("CameraProbeSetAimFlags")(aiming,
                                                                       playerFacesCamera);
}

uint8_t CameraTest::ShoulderBlocked() {
    return probe->Export<uint8_t (*)()>("CameraProbeShoulderBlocked")();
}

void CameraTest::Mouse(float dx, float dy) {
    At<float>(HostMouseDeltaXAddress) = dx;
    At<float>(HostMouseDeltaYAddress) = dy;
}

void CameraTest::UsePadStick(int32_t x, int32_t y) {
    LoadFakeGInput().padActive = 1;
    PadRightStickX::answer = [x](HostPad*) { return x; };
    PadRightStickY::answer = [y](HostPad*) { return y; };
}

std::vector<uint8_t> CameraTest::MarkUpdateBytes() {
    PokeBytes(Addr(&cam), {0xAA, 0xAA});
    cam.clearedC = 0xAA;
    return ReadBytes(Addr(&cam), sizeof(HostCamRecord));
}

void CameraTest::ExpectRecordKeptApartFromUpdateBytes(const std::vector<uint8_t>& before) {
    std::vector<uint8_t> expected = before;
    expected[0] = expected[1] = expected[4] = 0;
    EXPECT_EQ(ReadBytes(Addr(&cam), sizeof(HostCamRecord)), expected);
}

void CameraTest::ExpectPitchLimits(std::initializer_list<PitchLimit> limits,
                                   const std::function<void()>& poseAndUpdate) {
    for (const PitchLimit& limit : limits) {
        Mouse(0.0f, limit.mouseDy);
        poseAndUpdate();
        EXPECT_EQ(cam.pitch, limit.pitch);
        ExpectNear(cam.position, limit.position, 3e-5, "position");
    }
}

SiteResult CameraTest::EnterCameraSite(uint32_t site, const Vector3& targetPoint,
                                       float targetHeading, uint32_t hostCam) {
    At<Vector3>(TargetPointAddress) = targetPoint;
    const SiteResult result = EnterHostSite(
        site, hostCam != 0 ? hostCam : Addr(&cam),
        {TargetPointAddress, Bits(targetHeading), Bits(12.5f), Bits(-7.25f)});
    EXPECT_EQ(result.removedBytes(), 16u) << std::hex << site;
    EXPECT_EQ(result.fpuDepthChange(), 0) << std::hex << site;
    return result;
}

void ExpectNear(const Vector3& actual, const Vector3& expected, double tolerance,
                const char* what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what << ".x";
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what << ".y";
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what << ".z";
}

void ExpectFrame(const HostCamRecord& cam, const ExpectedFrame& frame) {
    EXPECT_NEAR(cam.pitch, frame.pitch, 1e-6);
    EXPECT_NEAR(cam.heading, frame.heading, 1e-6);
    ExpectNear(cam.pivot, frame.pivot, 2e-6, "pivot");
    ExpectNear(cam.position, frame.position, 3e-5, "position");
    ExpectNear(cam.lookPoint, frame.lookPoint, 3e-5, "look point");
    EXPECT_NEAR(cam.orbitDistance, frame.orbitDistance, 3e-5);
    EXPECT_NEAR(cam.distanceA, frame.distance, 3e-5);
    EXPECT_NEAR(cam.distanceB, frame.distance, 3e-5);
    ExpectNear(cam.front, frame.front, 2e-6, "front");
    ExpectNear(cam.up, frame.up, 2e-6, "up");
}

float Distance(const Vector3& a, const Vector3& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return float(std::sqrt(dx * dx + dy * dy + dz * dz));
}

}  // namespace camtest
