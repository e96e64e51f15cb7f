#include "tests/sim/kelvora_host.h"

namespace sim::kelvora {

void PlaceAllHostDoubles() {
    PlaceAll<GetPlayerCharacter, GetPlayerVehicle, GetPlayerHeading, AngleOfVector,
             NormaliseVector, TransformPoint, LineOfSight, SetNearClip, CamPivotRoutine,
             CameraAimValue, CameraStep, MatrixAttach, MatrixSetRotateZ, MatrixSetHeading,
             MatrixUpdate, MatrixRelease, CharacterPreTurn, CharacterAimPose, CharacterAimEndA,
             CharacterAimEndB, CharacterReleaseLock, CharacterAcquireLock, CharacterUpdateStep,
             PadRightStickX, PadRightStickY, PadWalkAxisA, PadWalkAxisB, PadFireHeld,
             PadFirePressed, PadAimBlockA, PadAimHeld, PadAimBlockB, PadLockRequestA,
             PadLockRequestB, GetPad, QuadSetupFromRect, DrawStateSet, SubmitVertices2D>();
}

HostWorld BuildHostWorld() {
    HostWorld world{};
    world.character = Ptr<HostCharacter>(ScratchData);
    world.vehicle = Ptr<HostVehicle>(ScratchData + 0x1000);
    world.other = Ptr<HostEntity>(ScratchData + 0x2000);
    world.vehicleModel = Ptr<HostModelInfo>(ScratchData + 0x3000);
    world.vehicleCol = Ptr<HostColModel>(ScratchData + 0x3100);
    std::memset(Ptr<void>(ScratchData), 0, 0x4000);
    world.vehicleModel->colModel = world.vehicleCol;
    HostPlayerRecord0().character = world.character;
    HostCharacter* character = world.character;
    GetPlayerCharacter::answer = [character] { return character; };
    return world;
}

void KelvoraTest::SetUp() {
    SimHostTest::SetUp();
    PoseAsCameraBuild10();
    PlaceAllHostDoubles();
    world = BuildHostWorld();
}

void KelvoraTest::TearDown() {
    plugin.reset();
    SimHostTest::TearDown();
}

void KelvoraTest::LoadPlugin(const std::string& ini) {
    plugin.reset();
    plugin = LoadCameraPlugin(ini);
}

std::string KelvoraTest::Ini(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).append("\n");
    return text;
}

}  // namespace sim::kelvora
