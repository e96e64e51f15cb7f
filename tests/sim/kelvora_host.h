// Doubles of every host routine the camera plug-in calls, and the host objects a test
// builds for it. Tests place the doubles they need (or all of them) and answer per test.
#pragma once

#include "camera_plugin/host/host_interface.h"
#include "tests/sim/fixture.h"

namespace sim::kelvora {

// World and player
using GetPlayerCharacter = PlainFake<0x4A1150, HostCharacter*()>;
using GetPlayerVehicle = PlainFake<0x4A10C0, HostVehicle*()>;
using GetPlayerHeading = PlainFake<0x4A1220, float()>;
using AngleOfVector = PlainFake<0x48CC30, float(float, float)>;
using NormaliseVector = MethodFake<0x4BA560, void(Vector3*)>;
using TransformPoint = PlainFake<0x4BA4D0, Vector3*(Vector3*, const HostMatrix*, const Vector3*)>;
using LineOfSight = PlainFake<0x4AF970, bool(const Vector3*, const Vector3*, HostColPoint*,
                                             HostEntity**, bool, bool, bool, bool, bool, bool,
                                             bool)>;
using SetNearClip = PlainFake<0x5A5070, void*(void*, float)>;

// Camera
using CamPivotRoutine = MethodFake<0x457A80, void(HostCamRecord*, const Vector3*)>;
using CameraAimValue = MethodFake<0x46B850, float(HostCameraObject*)>;
using CameraStep = MethodFake<0x468250, void(HostCameraObject*)>;

// Matrices
using MatrixAttach = MethodFake<0x4B8DD0, void(HostMatrix*, void*, int32_t)>;
using MatrixSetRotateZ = MethodFake<0x4B9370, void(HostMatrix*, float)>;
using MatrixSetHeading = MethodFake<0x4B9280, void(HostMatrix*, float)>;
using MatrixUpdate = MethodFake<0x4B8EC0, void(HostMatrix*)>;
using MatrixRelease = MethodFake<0x4B8DB0, void(HostMatrix*)>;

// Player character
using CharacterPreTurn = MethodFake<0x4C6960, void(HostCharacter*, float)>;
using CharacterAimPose = MethodFake<0x4E5F70, void(HostCharacter*, int32_t)>;
using CharacterAimEndA = MethodFake<0x4E6180, void(HostCharacter*)>;
using CharacterAimEndB = MethodFake<0x4E6790, void(HostCharacter*)>;
using CharacterReleaseLock = MethodFake<0x4F28A0, void(HostCharacter*)>;
using CharacterAcquireLock = MethodFake<0x4F28D0, void(HostCharacter*)>;
using CharacterUpdateStep = MethodFake<0x4C6A50, void(HostCharacter*)>;

// Pad queries
using PadRightStickX = MethodFake<0x493F80, int32_t(HostPad*)>;
using PadRightStickY = MethodFake<0x494130, int32_t(HostPad*)>;
using PadWalkAxisA = MethodFake<0x493110, int32_t(HostPad*)>;
using PadWalkAxisB = MethodFake<0x493190, int32_t(HostPad*)>;
using PadFireHeld = MethodFake<0x4936C0, int32_t(HostPad*)>;
using PadFirePressed = MethodFake<0x493700, int32_t(HostPad*)>;
using PadAimBlockA = MethodFake<0x493320, int32_t(HostPad*)>;
using PadAimHeld = MethodFake<0x493970, int32_t(HostPad*)>;
using PadAimBlockB = MethodFake<0x493A70, bool(HostPad*)>;
using PadLockRequestA = MethodFake<0x493AE0, bool(HostPad*)>;
using PadLockRequestB = MethodFake<0x493B10, bool(HostPad*)>;
using GetPad = PlainFake<0x492F60, HostPad*(int32_t)>;

// 2-D drawing
using QuadSetupFromRect = PlainFake<0x51EE90, void(const float*, const HostRgba*,
                                                   const HostRgba*, const HostRgba*,
                                                   const HostRgba*, uint32_t)>;
using DrawStateSet = PlainFake<0x5A43C0, int32_t(int32_t, uint32_t)>;
using SubmitVertices2D = PlainFake<0x5A4430, int32_t(int32_t, void*, int32_t)>;

// Places every double above (answers cleared).
void PlaceAllHostDoubles();

// Host objects in scratch host memory, zeroed, for a test to fill in.
struct HostWorld {
    HostCharacter* character;  // the player character, also record 0's and the focused one
    HostVehicle* vehicle;      // a vehicle, not yet attached to anything
    HostEntity* other;         // another entity (a lock-on target, say)
    HostModelInfo* vehicleModel;
    HostColModel* vehicleCol;
};
// Builds the objects, makes the character the player's (record 0 focused), and answers
// GetPlayerCharacter with it (place the doubles first).
HostWorld BuildHostWorld();

// The camera plug-in loaded into a host posing as build 1.0, the doubles placed.
class KelvoraTest : public SimHostTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // (Re)loads the plug-in with this ini text; the host bytes it wrote stay.
    void LoadPlugin(const std::string& ini);
    // The ini line by line, e.g. Ini({"bEnable=1", "bProcess_FollowPed=1"}).
    static std::string Ini(std::initializer_list<const char*> lines);

    std::unique_ptr<LoadedPlugin> plugin;
    HostWorld world{};
};

}  // namespace sim::kelvora
