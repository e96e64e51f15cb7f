// The cameras driven through the host's patched sites, as the host would call them, with
// host doubles that answer like the host (angles, normalising, transforms) and a wall that
// a test can place along any line of sight.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "tests/sim/kelvora_host.h"

namespace camtest {

using namespace sim;
using namespace sim::kelvora;

// The point and heading the host passes with every camera call in these scenes.
constexpr Vector3 HostTarget{10.0f, 20.0f, 5.0f};
constexpr float HostHeading = 0.25f;
constexpr uint32_t OnFootSite = 0x459A7C;
constexpr uint32_t VehicleSites[] = {0x459A54, 0x459B36, 0x459A16};
constexpr uint32_t RotationPredicateSites[] = {0x4F2685, 0x469292, 0x4C7673,
                                               0x4F03D5, 0x4D76CE, 0x45DB98};
constexpr uint32_t AimPredicateSites[] = {0x4E6562, 0x55D88B, 0x560C25};
constexpr uint32_t NoOperationSite = 0x468E46;

constexpr uint32_t TargetPointAddress = 0x9F6000;  // the point the host passes
constexpr uint32_t RenderCameraHandle = 0x9F6100;  // what HostRenderCamera holds
constexpr uint32_t PartFrameAddress = 0x9F6200;    // a vehicle part's frame

// One call of the line-of-sight double, its arguments read at the time of the call.
struct SightCall {
    Vector3 start;
    Vector3 end;
    std::array<bool, 7> flags;
    HostEntity* presetHitEntity;
    HostEntity* ignoredEntity;
};

class CameraTest : public KelvoraTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The built plug-in with these lines, then bEnable and both camera groups on (unless
    // the lines set them).
    void LoadCameraPlugin(std::initializer_list<const char*> lines);
    // The camera probe, attached with the same ini.
    void LoadProbe(std::initializer_list<const char*> lines);
    void SetAimFlags(uint8_t aiming, uint8_t playerFacesCamera);
    uint8_t ShoulderBlocked();

    // Runs the host's call at site with the target point and heading (and a cam record
    // of the host's choosing in ECX); checks that 16 bytes were removed and the x87 stack
    // is as it was.
    SiteResult EnterCameraSite(uint32_t site, const Vector3& targetPoint, float targetHeading,
                               uint32_t hostCam = 0);

    // Moves the mouse in every following frame.
    void Mouse(float dx, float dy);
    // A bridged pad (the stand-in GInput, loaded before the plug-in) whose right stick
    // reads (x, y).
    void UsePadStick(int32_t x, int32_t y);
    // Marks the three bytes every update clears (0x00, 0x01, 0x04) and returns the cam
    // record as it is then.
    std::vector<uint8_t> MarkUpdateBytes();
    // The record is as it was apart from the three bytes every update clears.
    void ExpectRecordKeptApartFromUpdateBytes(const std::vector<uint8_t>& before);

    struct PitchLimit {
        float mouseDy;
        float pitch;
        Vector3 position;
    };
    // For each limit: poses the camera, moves the mouse far, updates, and checks the
    // clamped pitch and the camera position.
    void ExpectPitchLimits(std::initializer_list<PitchLimit> limits,
                           const std::function<void()>& poseAndUpdate);

    // Walls for the next lines of sight, in order: the distance from the segment's start
    // at which it is hit, or none for a clear line. Lines beyond the list are clear.
    std::deque<std::optional<float>> wallsAlong;
    std::vector<SightCall> sightCalls;
    std::unique_ptr<LoadedPlugin> probe;

    HostCameraObject& camera = HostCamera();
    HostCamRecord& cam = HostCam();
};

// What an update leaves in the cam record, worked by hand.
struct ExpectedFrame {
    float pitch, heading;
    Vector3 pivot, position, lookPoint;
    float orbitDistance;  // 0x74: pivot to the camera before the walls
    float distance;       // 0x7C and 0x8C
    Vector3 front, up;
};
void ExpectFrame(const HostCamRecord& cam, const ExpectedFrame& frame);

// Component-wise closeness with a message naming the field.
void ExpectNear(const Vector3& actual, const Vector3& expected, double tolerance,
                const char* what);
float Distance(const Vector3& a, const Vector3& b);

}  // namespace camtest
