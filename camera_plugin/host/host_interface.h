// The host game (GTA 3 PC, build 1.0) as the camera plug-in sees it: the layouts of the
// host objects it touches, the host variables it reads or writes, and every host routine
// it calls, each declared once with its address and calling convention.
//
// Call shapes: a plain routine takes its arguments on the stack and the caller removes
// them (__cdecl); a method takes its object in ECX and removes its own stack arguments
// (__thiscall). Float results come back on the x87 stack, as the declarations say.
#pragma once

#include <cstddef>
#include <cstdint>

#include "camera_plugin/host/host_build.h"

using HostAddress = uint32_t;

struct Vector3 {
    float x, y, z;
};

// ---------------------------------------------------------------------------------------
// Host object layouts. Only the fields the plug-in uses are named; the rest is padding.
// ---------------------------------------------------------------------------------------

// A host matrix object: three rows and a position row, then an attachment to a frame
// matrix and whether the object owns it.
struct HostMatrix {
    Vector3 right;
    float padRight;
    Vector3 forward;
    float padForward;
    Vector3 up;
    float padUp;
    Vector3 position;
    float padPosition;
    void* attachment;
    uint32_t ownsAttachment;
};
static_assert(sizeof(HostMatrix) == 0x48);
static_assert(offsetof(HostMatrix, forward) == 0x10);
static_assert(offsetof(HostMatrix, position) == 0x30);
static_assert(offsetof(HostMatrix, attachment) == 0x40);

// A placed object of the host world: characters and vehicles alike.
struct HostEntity {
    uint8_t pad00[0x04];
    HostMatrix placement;        // 0x04; forward row at 0x14, position row at 0x34
    uint8_t pad4C[0x50 - 0x4C];
    uint8_t typeAndStatus;       // 0x50; the low three bits give the kind
    uint8_t pad51[0x5C - 0x51];
    int16_t modelIndex;          // 0x5C
    uint8_t pad5E[0x108 - 0x5E];
    float movement;              // 0x108; the trailing rules compare it with a threshold
};
static_assert(offsetof(HostEntity, placement) == 0x04);
static_assert(offsetof(HostEntity, placement.forward) == 0x14);
static_assert(offsetof(HostEntity, placement.position) == 0x34);
static_assert(offsetof(HostEntity, placement.attachment) == 0x44);
static_assert(offsetof(HostEntity, typeAndStatus) == 0x50);
static_assert(offsetof(HostEntity, modelIndex) == 0x5C);
static_assert(offsetof(HostEntity, movement) == 0x108);

constexpr uint8_t HostEntityKindMask = 0x07;
constexpr uint8_t HostEntityKindVehicle = 2;

struct HostWeaponSlot {
    int32_t type;
    int32_t state;
    uint8_t rest[0x18 - 8];
};
static_assert(sizeof(HostWeaponSlot) == 0x18);

constexpr int HostWeaponSlotCount = 13;

struct HostCharacter {
    HostEntity entity;
    uint8_t pad10C[0x224 - sizeof(HostEntity)];
    int32_t state;               // 0x224
    uint8_t pad228[0x22C - 0x228];
    int32_t secondState;         // 0x22C; 4 forbids aiming
    uint8_t pad230[0x2DC - 0x230];
    float heading;               // 0x2DC
    float heading2;              // 0x2E0
    uint8_t pad2E4[0x35C - 0x2E4];
    HostWeaponSlot weapons[HostWeaponSlotCount];  // 0x35C
    uint8_t pad494[0x498 - 0x494];
    uint8_t currentWeaponSlot;   // 0x498
    uint8_t pad499[0x49C - 0x499];
    HostEntity* lockedTarget;    // 0x49C
    uint8_t pad4A0[0x57D - 0x4A0];
    uint8_t targetLock;          // 0x57D; nonzero while locked onto a target
    uint8_t pad57E[0x5EC - 0x57E];
    float aimValue;              // 0x5EC
};
static_assert(sizeof(HostEntity) == 0x10C);
static_assert(offsetof(HostCharacter, state) == 0x224);
static_assert(offsetof(HostCharacter, secondState) == 0x22C);
static_assert(offsetof(HostCharacter, heading) == 0x2DC);
static_assert(offsetof(HostCharacter, heading2) == 0x2E0);
static_assert(offsetof(HostCharacter, weapons) == 0x35C);
static_assert(offsetof(HostCharacter, currentWeaponSlot) == 0x498);
static_assert(offsetof(HostCharacter, lockedTarget) == 0x49C);
static_assert(offsetof(HostCharacter, targetLock) == 0x57D);
static_assert(offsetof(HostCharacter, aimValue) == 0x5EC);

struct HostVehicle {
    HostEntity entity;
    uint8_t pad10C[0x39C - sizeof(HostEntity)];
    uint8_t* partFrame;          // 0x39C; the frame's matrix lies at byte 0x10 of the frame
    uint8_t pad3A0[0x580 - 0x3A0];
    float partHeading;           // 0x580
    float partElevation;         // 0x584
};
static_assert(offsetof(HostVehicle, partFrame) == 0x39C);
static_assert(offsetof(HostVehicle, partHeading) == 0x580);
static_assert(offsetof(HostVehicle, partElevation) == 0x584);

constexpr uint32_t HostFrameMatrixOffset = 0x10;

// The result record of the host's line-of-sight test; it begins with the hit position.
struct HostColPoint {
    Vector3 position;
    uint8_t rest[0x2C - sizeof(Vector3)];
};

// One cam record of the host camera.
struct HostCamRecord {
    uint8_t clearedA;            // 0x00 \ cleared together by every update
    uint8_t clearedB;            // 0x01 /
    uint8_t pad02;
    uint8_t resetRaised;         // 0x03
    uint8_t clearedC;            // 0x04
    uint8_t pad05[2];
    uint8_t inputLock[3];        // 0x07..0x09
    uint8_t resetRequest;        // 0x0A
    uint8_t resetCleared;        // 0x0B
    int16_t mode;                // 0x0C
    uint8_t pad0E[0x28 - 0x0E];
    int32_t stateWord;           // 0x28
    uint8_t pad2C[0x38 - 0x2C];
    float heightOffset;          // 0x38
    uint8_t pad3C[0x74 - 0x3C];
    float orbitDistance;         // 0x74
    uint8_t pad78[0x7C - 0x78];
    float distanceA;             // 0x7C
    uint8_t pad80[0x8C - 0x80];
    float distanceB;             // 0x8C
    uint8_t pad90[0x98 - 0x90];
    float requestedHeading;      // 0x98
    uint8_t pad9C[0xA8 - 0x9C];
    float pitch;                 // 0xA8
    float pitchRate;             // 0xAC
    float fov;                   // 0xB0
    uint8_t padB4[0xB8 - 0xB4];
    float heading;               // 0xB8
    float headingRate;           // 0xBC
    uint8_t padC0[0xC8 - 0xC0];
    float vehicleNearDistance;   // 0xC8
    float vehicleDistance;       // 0xCC
    uint8_t padD0[0xF8 - 0xD0];
    Vector3 pivot;               // 0xF8
    uint8_t pad104[0x140 - 0x104];
    Vector3 front;               // 0x140
    Vector3 position;            // 0x14C
    Vector3 lookPoint;           // 0x158
    Vector3 up;                  // 0x164
    uint8_t pad170[0x188 - 0x170];
    HostEntity* target;          // 0x188
    uint8_t pad18C[0x1A4 - 0x18C];
    int32_t handControlUntil;    // 0x1A4; host milliseconds
};
static_assert(sizeof(HostCamRecord) == 0x1A8);
static_assert(offsetof(HostCamRecord, resetRaised) == 0x03);
static_assert(offsetof(HostCamRecord, clearedC) == 0x04);
static_assert(offsetof(HostCamRecord, inputLock) == 0x07);
static_assert(offsetof(HostCamRecord, resetRequest) == 0x0A);
static_assert(offsetof(HostCamRecord, resetCleared) == 0x0B);
static_assert(offsetof(HostCamRecord, mode) == 0x0C);
static_assert(offsetof(HostCamRecord, stateWord) == 0x28);
static_assert(offsetof(HostCamRecord, heightOffset) == 0x38);
static_assert(offsetof(HostCamRecord, orbitDistance) == 0x74);
static_assert(offsetof(HostCamRecord, distanceA) == 0x7C);
static_assert(offsetof(HostCamRecord, distanceB) == 0x8C);
static_assert(offsetof(HostCamRecord, requestedHeading) == 0x98);
static_assert(offsetof(HostCamRecord, pitch) == 0xA8);
static_assert(offsetof(HostCamRecord, pitchRate) == 0xAC);
static_assert(offsetof(HostCamRecord, fov) == 0xB0);
static_assert(offsetof(HostCamRecord, heading) == 0xB8);
static_assert(offsetof(HostCamRecord, headingRate) == 0xBC);
static_assert(offsetof(HostCamRecord, vehicleNearDistance) == 0xC8);
static_assert(offsetof(HostCamRecord, vehicleDistance) == 0xCC);
static_assert(offsetof(HostCamRecord, pivot) == 0xF8);
static_assert(offsetof(HostCamRecord, front) == 0x140);
static_assert(offsetof(HostCamRecord, position) == 0x14C);
static_assert(offsetof(HostCamRecord, lookPoint) == 0x158);
static_assert(offsetof(HostCamRecord, up) == 0x164);
static_assert(offsetof(HostCamRecord, target) == 0x188);
static_assert(offsetof(HostCamRecord, handControlUntil) == 0x1A4);

constexpr int HostCamRecordCount = 3;

// The host camera object.
struct HostCameraObject {
    uint8_t pad00[0x4E];
    uint8_t placeBehindRequest;  // 0x4E \ cleared together as one 16-bit store
    uint8_t placeInFrontRequest; // 0x4F /
    uint8_t pad50[0x55 - 0x50];
    uint8_t resetStampFlag;      // 0x55
    uint8_t pad56[0x6A - 0x56];
    uint8_t adoptHeadingRequest; // 0x6A
    uint8_t pad6B[0x76 - 0x6B];
    int8_t activeCam;            // 0x76
    uint8_t pad77[0x90 - 0x77];
    int32_t resetStamp;          // 0x90
    uint8_t pad94[0xE0 - 0x94];
    float vehicleDistance;       // 0xE0
    uint8_t padE4[0x148 - 0xE4];
    float extraOrbitRadius;      // 0x148
    uint8_t pad14C[0x160 - 0x14C];
    float zoomStep;              // 0x160; one of 1.0, 2.0, 3.0, 4.0 on foot
    uint8_t pad164[0x194 - 0x164];
    float mouseSensitivityX;     // 0x194
    float mouseSensitivityY;     // 0x198
    float crosshairX;            // 0x19C; fraction of the screen width
    float crosshairY;            // 0x1A0; fraction of the screen height
    HostCamRecord cams[HostCamRecordCount];  // 0x1A4
};
static_assert(offsetof(HostCameraObject, placeBehindRequest) == 0x4E);
static_assert(offsetof(HostCameraObject, placeInFrontRequest) == 0x4F);
static_assert(offsetof(HostCameraObject, resetStampFlag) == 0x55);
static_assert(offsetof(HostCameraObject, adoptHeadingRequest) == 0x6A);
static_assert(offsetof(HostCameraObject, activeCam) == 0x76);
static_assert(offsetof(HostCameraObject, resetStamp) == 0x90);
static_assert(offsetof(HostCameraObject, vehicleDistance) == 0xE0);
static_assert(offsetof(HostCameraObject, extraOrbitRadius) == 0x148);
static_assert(offsetof(HostCameraObject, zoomStep) == 0x160);
static_assert(offsetof(HostCameraObject, mouseSensitivityX) == 0x194);
static_assert(offsetof(HostCameraObject, mouseSensitivityY) == 0x198);
static_assert(offsetof(HostCameraObject, crosshairX) == 0x19C);
static_assert(offsetof(HostCameraObject, crosshairY) == 0x1A0);
static_assert(offsetof(HostCameraObject, cams) == 0x1A4);
static_assert(offsetof(HostCameraObject, cams[0].mode) == 0x1B0);
static_assert(offsetof(HostCameraObject, cams[0].inputLock) == 0x1AB);
static_assert(offsetof(HostCameraObject, cams[0].front) == 0x2E4);
static_assert(offsetof(HostCameraObject, cams[0].handControlUntil) == 0x348);

// A host pad object.
struct HostPad {
    uint8_t pad00[0x08];
    int16_t button08;            // 0x08, this frame
    int16_t lockAnalogue;        // 0x0A; pad mode 4 compares it with 30
    uint8_t pad0C[0x10 - 0x0C];
    int16_t walkBMinus;          // 0x10
    int16_t walkBPlus;           // 0x12
    int16_t walkAMinus;          // 0x14
    int16_t walkAPlus;           // 0x16
    uint8_t pad18[0x32 - 0x18];
    int16_t previousButton08;    // 0x32
    uint8_t pad34[0xD4 - 0x34];
    int16_t padMode;             // 0xD4
    uint8_t padD6[0xDF - 0xD6];
    uint8_t controlLock;         // 0xDF
};
static_assert(offsetof(HostPad, button08) == 0x08);
static_assert(offsetof(HostPad, lockAnalogue) == 0x0A);
static_assert(offsetof(HostPad, walkBMinus) == 0x10);
static_assert(offsetof(HostPad, walkBPlus) == 0x12);
static_assert(offsetof(HostPad, walkAMinus) == 0x14);
static_assert(offsetof(HostPad, walkAPlus) == 0x16);
static_assert(offsetof(HostPad, previousButton08) == 0x32);
static_assert(offsetof(HostPad, padMode) == 0xD4);
static_assert(offsetof(HostPad, controlLock) == 0xDF);

struct HostPlayerRecord {
    HostCharacter* character;    // 0x00
    HostVehicle* controlledVehicle;  // 0x04; null when none
    uint8_t rest[0x158 - 8];
};
static_assert(sizeof(HostPlayerRecord) == 0x158);

struct HostColModel {
    uint8_t pad00[0x14];
    Vector3 boxMin;              // 0x14
    Vector3 boxMax;              // 0x20
};
static_assert(offsetof(HostColModel, boxMin) == 0x14);
static_assert(offsetof(HostColModel, boxMax) == 0x20);

struct HostModelInfo {
    uint8_t pad00[0x1C];
    HostColModel* colModel;      // 0x1C
};
static_assert(offsetof(HostModelInfo, colModel) == 0x1C);

struct HostRgba {
    uint8_t red, green, blue, alpha;
};

// A texture of the host; its first field is the raster handle.
struct HostTexture {
    void* raster;
};

// ---------------------------------------------------------------------------------------
// Host variables and objects (build 1.0 addresses).
// ---------------------------------------------------------------------------------------

template <class T>
inline T& HostVariable(HostAddress address) {
    return *reinterpret_cast<T*>(address);
}

constexpr HostAddress HostCameraAddress = 0x6FACF8;
constexpr HostAddress HostPad0Address = 0x6F0360;
constexpr HostAddress HostControlLockAddress = 0x6F043F;
constexpr HostAddress HostPlayerInfoAddress = 0x9412F0;
constexpr HostAddress HostPlayerIndexAddress = 0x95CD61;
constexpr HostAddress HostTimeMsAddress = 0x885B48;
constexpr HostAddress HostMouseDeltaXAddress = 0x8809F8;
constexpr HostAddress HostMouseDeltaYAddress = 0x8809FC;
constexpr HostAddress HostRenderCameraAddress = 0x72676C;
constexpr HostAddress HostIgnoredEntityAddress = 0x8F6494;
constexpr HostAddress HostMouseAimFlagAddress = 0x5F03D8;
constexpr HostAddress HostPadAimFlagAddress = 0x8F5F7C;
constexpr HostAddress HostModelInfoTableAddress = 0x83D408;
constexpr HostAddress HostViewWidthAddress = 0x8F4364;
constexpr HostAddress HostViewHeightAddress = 0x8F4368;
constexpr HostAddress HostHudScaleAddress = 0x5F53C0;
constexpr HostAddress HostCrosshairTextureAddress = 0x95CBF0;
constexpr HostAddress HostVertexArray2DAddress = 0x6E9168;
constexpr HostAddress HostControlsPageAddress = 0x614E3C;

static_assert(HostControlLockAddress == HostPad0Address + offsetof(HostPad, controlLock));

inline HostCameraObject& HostCamera() { return HostVariable<HostCameraObject>(HostCameraAddress); }
inline HostCamRecord& HostCam() { return HostCamera().cams[0]; }
inline HostPad& HostPad0() { return HostVariable<HostPad>(HostPad0Address); }
inline uint8_t HostControlLock() { return HostVariable<uint8_t>(HostControlLockAddress); }
inline int32_t HostTimeMs() { return HostVariable<int32_t>(HostTimeMsAddress); }
inline float HostMouseDeltaX() { return HostVariable<float>(HostMouseDeltaXAddress); }
inline float HostMouseDeltaY() { return HostVariable<float>(HostMouseDeltaYAddress); }
inline void* HostRenderCamera() { return HostVariable<void*>(HostRenderCameraAddress); }
inline HostEntity*& HostIgnoredEntity() { return HostVariable<HostEntity*>(HostIgnoredEntityAddress); }
inline uint8_t& HostMouseAimFlag() { return HostVariable<uint8_t>(HostMouseAimFlagAddress); }
inline uint8_t& HostPadAimFlag() { return HostVariable<uint8_t>(HostPadAimFlagAddress); }

// The focused player record: the one indexed by the byte at HostPlayerIndexAddress.
inline HostPlayerRecord& HostFocusedPlayer() {
    HostPlayerRecord* records = reinterpret_cast<HostPlayerRecord*>(HostPlayerInfoAddress);
    return records[HostVariable<uint8_t>(HostPlayerIndexAddress)];
}
inline HostPlayerRecord& HostPlayerRecord0() {
    return *reinterpret_cast<HostPlayerRecord*>(HostPlayerInfoAddress);
}

inline HostModelInfo* HostModelInfoFor(int16_t model) {
    return reinterpret_cast<HostModelInfo**>(HostModelInfoTableAddress)[model];
}

// ---------------------------------------------------------------------------------------
// Host routines (build 1.0 addresses).
// ---------------------------------------------------------------------------------------

template <class Fn>
inline Fn HostRoutineAt(HostAddress address) {
    return reinterpret_cast<Fn>(address);
}

// World and player
inline HostCharacter* HostGetPlayerCharacter() {
    return HostRoutineAt<HostCharacter* (__cdecl*)()>(0x4A1150)();
}
inline HostVehicle* HostGetPlayerVehicle() {
    return HostRoutineAt<HostVehicle* (__cdecl*)()>(0x4A10C0)();
}
// Reached through the build choice: 0 on any build but 1.0.
inline float HostGetPlayerHeading() {
    return HostRoutineAt<float(__cdecl*)()>(SelectHostAddress(0x4A1220))();
}
// The angle of (x, y) in radians, like atan2(y, x); any range. The value is the x87
// register as the host leaves it: storing it as a float rounds it, and the aiming hook
// subtracts its quarter turn before that rounding.
inline long double HostAngleOfVector(float x, float y) {
    return HostRoutineAt<long double(__cdecl*)(float, float)>(0x48CC30)(x, y);
}
inline void HostNormaliseVector(Vector3* vector) {
    HostRoutineAt<void(__thiscall*)(Vector3*)>(0x4BA560)(vector);
}
// out = placement applied to the local point.
inline void HostTransformPoint(Vector3* out, const HostMatrix* placement, const Vector3* local) {
    HostRoutineAt<Vector3* (__cdecl*)(Vector3*, const HostMatrix*, const Vector3*)>(0x4BA4D0)(
        out, placement, local);
}
inline bool HostLineOfSight(const Vector3* start, const Vector3* end, HostColPoint* hit,
                            HostEntity** hitEntity, bool f1, bool f2, bool f3, bool f4, bool f5,
                            bool f6, bool f7) {
    return HostRoutineAt<bool(__cdecl*)(const Vector3*, const Vector3*, HostColPoint*,
                                        HostEntity**, bool, bool, bool, bool, bool, bool,
                                        bool)>(0x4AF970)(start, end, hit, hitEntity, f1, f2, f3,
                                                         f4, f5, f6, f7);
}
inline void HostSetNearClip(void* renderCamera, float distance) {
    HostRoutineAt<void* (__cdecl*)(void*, float)>(0x5A5070)(renderCamera, distance);
}

// Camera
inline void HostCamPivotRoutine(HostCamRecord* cam, const Vector3* pivot) {
    HostRoutineAt<void(__thiscall*)(HostCamRecord*, const Vector3*)>(0x457A80)(cam, pivot);
}
// Reached through the build choice.
inline float HostCameraAimValue(HostCameraObject* camera) {
    return HostRoutineAt<float(__thiscall*)(HostCameraObject*)>(SelectHostAddress(0x46B850))(
        camera);
}
// Reached through the build choice.
inline void HostCameraStep(HostCameraObject* camera) {
    HostRoutineAt<void(__thiscall*)(HostCameraObject*)>(SelectHostAddress(0x468250))(camera);
}

// Matrices
inline void HostMatrixAttach(HostMatrix* matrix, void* frameMatrix, int32_t owning) {
    HostRoutineAt<void(__thiscall*)(HostMatrix*, void*, int32_t)>(0x4B8DD0)(matrix, frameMatrix,
                                                                             owning);
}
inline void HostMatrixSetRotateZ(HostMatrix* matrix, float angle) {
    HostRoutineAt<void(__thiscall*)(HostMatrix*, float)>(0x4B9370)(matrix, angle);
}
inline void HostMatrixSetHeading(HostMatrix* matrix, float angle) {
    HostRoutineAt<void(__thiscall*)(HostMatrix*, float)>(0x4B9280)(matrix, angle);
}
inline void HostMatrixUpdate(HostMatrix* matrix) {
    HostRoutineAt<void(__thiscall*)(HostMatrix*)>(0x4B8EC0)(matrix);
}
inline void HostMatrixRelease(HostMatrix* matrix) {
    HostRoutineAt<void(__thiscall*)(HostMatrix*)>(0x4B8DB0)(matrix);
}

// Player character
inline void HostCharacterPreTurn(HostCharacter* character, float heading) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*, float)>(0x4C6960)(character, heading);
}
inline void HostCharacterAimPose(HostCharacter* character, int32_t value) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*, int32_t)>(0x4E5F70)(character, value);
}
inline void HostCharacterAimEndA(HostCharacter* character) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*)>(0x4E6180)(character);
}
inline void HostCharacterAimEndB(HostCharacter* character) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*)>(0x4E6790)(character);
}
constexpr HostAddress HostCharacterReleaseLockAddress = 0x4F28A0;
inline void HostCharacterReleaseLock(HostCharacter* character) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*)>(HostCharacterReleaseLockAddress)(character);
}
inline void HostCharacterAcquireLock(HostCharacter* character) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*)>(0x4F28D0)(character);
}
inline void HostCharacterUpdateStep(HostCharacter* character) {
    HostRoutineAt<void(__thiscall*)(HostCharacter*)>(0x4C6A50)(character);
}

// Pad queries; each is a method of a pad object.
inline int32_t HostPadQuery(HostAddress address, HostPad* pad) {
    return HostRoutineAt<int32_t(__thiscall*)(HostPad*)>(address)(pad);
}
inline bool HostPadBoolQuery(HostAddress address, HostPad* pad) {
    return HostRoutineAt<bool(__thiscall*)(HostPad*)>(address)(pad);
}
constexpr HostAddress HostPadRightStickXAddress = 0x493F80;
constexpr HostAddress HostPadRightStickYAddress = 0x494130;
constexpr HostAddress HostPadWalkAxisAAddress = 0x493110;
constexpr HostAddress HostPadWalkAxisBAddress = 0x493190;
constexpr HostAddress HostPadFireHeldAddress = 0x4936C0;
constexpr HostAddress HostPadFirePressedAddress = 0x493700;
inline int32_t HostPadRightStickX() { return HostPadQuery(HostPadRightStickXAddress, &HostPad0()); }
inline int32_t HostPadRightStickY() { return HostPadQuery(HostPadRightStickYAddress, &HostPad0()); }
inline int32_t HostPadWalkAxisA() { return HostPadQuery(HostPadWalkAxisAAddress, &HostPad0()); }
inline int32_t HostPadWalkAxisB() { return HostPadQuery(HostPadWalkAxisBAddress, &HostPad0()); }
inline int32_t HostPadFireHeld() { return HostPadQuery(HostPadFireHeldAddress, &HostPad0()); }
inline int32_t HostPadFirePressed() { return HostPadQuery(HostPadFirePressedAddress, &HostPad0()); }
inline int32_t HostPadAimBlockA() { return HostPadQuery(0x493320, &HostPad0()); }
inline int32_t HostPadAimHeld() { return HostPadQuery(0x493970, &HostPad0()); }
inline bool HostPadAimBlockB() { return HostPadBoolQuery(0x493A70, &HostPad0()); }
inline bool HostPadLockRequestA() { return HostPadBoolQuery(0x493AE0, &HostPad0()); }
inline bool HostPadLockRequestB() { return HostPadBoolQuery(0x493B10, &HostPad0()); }
inline HostPad* HostGetPad(int32_t index) {
    return HostRoutineAt<HostPad* (__cdecl*)(int32_t)>(0x492F60)(index);
}

// 2-D drawing
inline void HostQuadSetupFromRect(const float* rect, const HostRgba* c1, const HostRgba* c2,
                                  const HostRgba* c3, const HostRgba* c4, uint32_t zero) {
    HostRoutineAt<void(__cdecl*)(const float*, const HostRgba*, const HostRgba*, const HostRgba*,
                                 const HostRgba*, uint32_t)>(0x51EE90)(rect, c1, c2, c3, c4, zero);
}
inline void HostDrawStateSet(int32_t state, uint32_t value) {
    HostRoutineAt<int32_t(__cdecl*)(int32_t, uint32_t)>(0x5A43C0)(state, value);
}
inline void HostSubmitVertices2D(int32_t kind, void* vertices, int32_t count) {
    HostRoutineAt<int32_t(__cdecl*)(int32_t, void*, int32_t)>(0x5A4430)(kind, vertices, count);
}
