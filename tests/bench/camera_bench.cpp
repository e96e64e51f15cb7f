// The three cameras, one update per frame, entered at the routine the host's patched call
// reaches, with every host double answering at once.
#include <memory>

#include "tests/bench/frame_bench.h"
#include "tests/sim/kelvora_host.h"

namespace {

using namespace sim;
using namespace sim::kelvora;

constexpr uint32_t OnFootSite = 0x459A7C;
constexpr uint32_t VehicleSite = 0x459A54;
constexpr uint32_t TargetPointAddress = 0x9F6000;
constexpr uint32_t PartFrameAddress = 0x9F6200;

using CameraEntry = void(__thiscall*)(void*, const Vector3*, float, float, float);

std::shared_ptr<LoadedPlugin> Load(const std::string& path, const std::string& ini) {
    return std::make_shared<LoadedPlugin>(path, ini);
}

HostWorld PoseHost() {
    PoseAsCameraBuild10();
    PlaceAllHostDoubles();
    HostWorld world = BuildHostWorld();
    HostCameraObject& camera = HostCamera();
    camera.zoomStep = 2.0f;
    camera.mouseSensitivityX = 0.0025f;
    camera.mouseSensitivityY = 0.0025f;
    HostCamRecord& cam = HostCam();
    cam.position = {13.0f, 24.0f, 7.75f};
    cam.front = {0.0f, 1.0f, 0.0f};
    cam.pitch = 0.1f;
    cam.heading = 1.0f;
    world.character->entity.placement.forward = {0.0f, 1.0f, 0.0f};
    At<Vector3>(TargetPointAddress) = {10.0f, 20.0f, 5.0f};
    // The mouse moves in every frame.
    At<float>(HostMouseDeltaXAddress) = 3.0f;
    At<float>(HostMouseDeltaYAddress) = -1.0f;
    return world;
}

std::function<void()> Frame(std::shared_ptr<LoadedPlugin> plugin, uint32_t site) {
    const auto entry = reinterpret_cast<CameraEntry>(uintptr_t(Rel32Target(site)));
    return [plugin, entry] {
        entry(&HostCam(), Ptr<Vector3>(TargetPointAddress), 0.25f, 0.0f, 0.0f);
    };
}

bench::Registration followCamera("follow camera update", [] {
    const HostWorld world = PoseHost();
    HostCam().target = &world.character->entity;
    auto plugin = Load(DistPath("iii_kelvora.asi"),
                       "bEnable=1\nbProcess_FollowPed=1\nfFOV=70\nbIVOnFootCamera=1\n"
                       "bDynamicFOV=1\n");
    return Frame(plugin, OnFootSite);
});

bench::Registration aimCamera("aim camera update", [] {
    const HostWorld world = PoseHost();
    HostCam().target = &world.character->entity;
    auto probe = Load(TestBinaryPath("camera_probe.dll"),
                      "bEnable=1\nbProcess_FollowPed=1\nfFOV=70\n");
    probe->Export<void (*)()>("CameraProbeAttach")();
    probe->Export<void (*)(uint8_t, uint8_t)>("CameraProbeSetAimFlags")(1, 0);
    return Frame(probe, OnFootSite);
});

bench::Registration vehicleCamera("vehicle camera update", [] {
    const HostWorld world = PoseHost();
    HostVehicle& vehicle = *world.vehicle;
    vehicle.entity.typeAndStatus = 2;
    vehicle.entity.modelIndex = 97;  // the firetruck: its cannon is aimed too
    vehicle.entity.movement = 0.5f;
    vehicle.entity.placement.forward = {0.0f, 1.0f, 0.0f};
    vehicle.partFrame = Ptr<uint8_t>(PartFrameAddress);
    At<HostModelInfo*>(HostModelInfoTableAddress + 4 * 97) = world.vehicleModel;
    world.vehicleCol->boxMin = {-1.0f, -2.5f, -0.5f};
    world.vehicleCol->boxMax = {1.0f, 2.5f, 1.0f};
    HostPlayerRecord0().controlledVehicle = world.vehicle;
    HostCam().target = &vehicle.entity;
    HostCam().stateWord = 3;
    At<int32_t>(HostTimeMsAddress) = 20000;  // past the hand-control stamp: it trails
    auto plugin = Load(DistPath("iii_kelvora.asi"),
                       "bEnable=1\nbProcess_FollowVeh=1\nfFOV=70\nbControlVehParts=1\n"
                       "bIVVehicleCamera=1\nbDynamicFOV=1\n");
    return Frame(plugin, VehicleSite);
});

}  // namespace
