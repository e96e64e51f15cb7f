// The host game (GTA 3 PC, builds 1.0 and 1.1) as the route guide sees it: the table of
// host addresses for each build, the layouts of the host records it reads, and one typed
// call helper per host routine. Every host routine and variable is reached through
// `Bindings`, filled at process attach from the column of the running build.
//
// Call shapes: a plain routine takes its arguments on the stack and the caller removes
// them (__cdecl); a method takes its object in ECX and removes its own stack arguments
// (__thiscall). Float results come back on the x87 stack, as the declarations say.
#pragma once

#include <cstddef>
#include <cstdint>

using HostAddress = uint32_t;

struct Vector2 {
    float x, y;
};

struct Vector3 {
    float x, y, z;
};

struct Rgba {
    uint8_t red, green, blue, alpha;
};
static_assert(sizeof(Rgba) == 4);

// ---------------------------------------------------------------------------------------
// Host addresses of one build, in the order they are bound.
// ---------------------------------------------------------------------------------------

struct HostBindings {
    HostAddress HostGetPlayerVehicle;
    HostAddress HostRouteSearch;
    HostAddress HostWorldToRadar;
    HostAddress HostRadarToScreen;
    HostAddress HostQuadDepthQuery;
    HostAddress HostDrawStateSet;
    HostAddress HostSecondaryStateSet;
    HostAddress HostQuadSetup;
    HostAddress HostSubmitVertices2D;
    HostAddress HostBlipColourQuery;
    HostAddress HostDrawRadarMarker;
    HostAddress HostHandleToObject1;
    HostAddress HostHandleToObject2;
    HostAddress HostHandleToObject3;
    HostAddress HostRadarDrawStep;
    HostAddress HostRadarFrameStep;
    HostAddress HostResetStep;
    HostAddress HostPlaySound;
    HostAddress HostRouteGraph;          // object: `this` of HostRouteSearch
    HostAddress HostDepthOffset;         // float
    HostAddress HostVertexArray2D;       // the array itself
    HostAddress HostScreenExtentW;       // int32
    HostAddress HostScreenExtentH;       // int32
    HostAddress HostObjectPool1;         // pointer to the pool of blip kind 1
    HostAddress HostObjectPool2;         // pointer to the pool of blip kind 2
    HostAddress HostObjectPool3;         // pointer to the pool of blip kind 3
    HostAddress HostDrawContextPointer;  // pointer to HostDrawContext
    HostAddress HostRouteWidthDivisor;   // float
    HostAddress HostBlipTable;           // object: 32 HostBlip records
    HostAddress HostAreaNumber;          // int32, map area 1 to 3
    HostAddress HostSoundObject;         // object: `this` of HostPlaySound
    HostAddress HostTimeMs;              // uint32 millisecond clock
    HostAddress HostTextFromAscii;
    HostAddress HostTextPrint;
    HostAddress HostTextOptionA;
    HostAddress HostTextScale;
    HostAddress HostTextColour;
    HostAddress HostTextOptionB;
    HostAddress HostTextOptionC;
    HostAddress HostTextOptionD;
};
static_assert(sizeof(HostBindings) == 40 * sizeof(HostAddress));
static_assert(offsetof(HostBindings, HostRouteGraph) == 18 * sizeof(HostAddress));
static_assert(offsetof(HostBindings, HostTextOptionD) == 39 * sizeof(HostAddress));

constexpr HostBindings HostBindingsBuild10{
    .HostGetPlayerVehicle = 0x4A10C0,
    .HostRouteSearch = 0x42B040,
    .HostWorldToRadar = 0x4A50D0,
    .HostRadarToScreen = 0x4A5040,
    .HostQuadDepthQuery = 0x5A43A0,
    .HostDrawStateSet = 0x5A43C0,
    .HostSecondaryStateSet = 0x5B3CF0,
    .HostQuadSetup = 0x51F070,
    .HostSubmitVertices2D = 0x5A4430,
    .HostBlipColourQuery = 0x4A5BB0,
    .HostDrawRadarMarker = 0x4A5870,
    .HostHandleToObject1 = 0x43EAF0,
    .HostHandleToObject2 = 0x43EB30,
    .HostHandleToObject3 = 0x43EAB0,
    .HostRadarDrawStep = 0x4A6C20,
    .HostRadarFrameStep = 0x4A69C0,
    .HostResetStep = 0x4A3EF0,
    .HostPlaySound = 0x57CC20,
    .HostRouteGraph = 0x8F6754,
    .HostDepthOffset = 0x5FF2B4,
    .HostVertexArray2D = 0x6E9168,
    .HostScreenExtentW = 0x8F436C,
    .HostScreenExtentH = 0x8F4370,
    .HostObjectPool1 = 0x9430DC,
    .HostObjectPool2 = 0x8F2C60,
    .HostObjectPool3 = 0x880E28,
    .HostDrawContextPointer = 0x661228,
    .HostRouteWidthDivisor = 0x8E281C,
    .HostBlipTable = 0x6ED5E0,
    .HostAreaNumber = 0x941514,
    .HostSoundObject = 0x95CDBE,
    .HostTimeMs = 0x885B48,
    .HostTextFromAscii = 0x5009C0,
    .HostTextPrint = 0x500F50,
    .HostTextOptionA = 0x501DB0,
    .HostTextScale = 0x501B80,
    .HostTextColour = 0x501BD0,
    .HostTextOptionB = 0x501C60,
    .HostTextOptionC = 0x501E70,
    .HostTextOptionD = 0x501DA0,
};

constexpr HostBindings HostBindingsBuild11{
    .HostGetPlayerVehicle = 0x4A11B0,
    .HostRouteSearch = 0x42B040,
    .HostWorldToRadar = 0x4A51C0,
    .HostRadarToScreen = 0x4A5130,
    .HostQuadDepthQuery = 0x5A4660,
    .HostDrawStateSet = 0x5A4680,
    .HostSecondaryStateSet = 0x5B3FB0,
    .HostQuadSetup = 0x51F2A0,
    .HostSubmitVertices2D = 0x5A46F0,
    .HostBlipColourQuery = 0x4A5CA0,
    .HostDrawRadarMarker = 0x4A5960,
    .HostHandleToObject1 = 0x43EAF0,
    .HostHandleToObject2 = 0x43EB30,
    .HostHandleToObject3 = 0x43EAB0,
    .HostRadarDrawStep = 0x4A6D10,
    .HostRadarFrameStep = 0x4A6AB0,
    .HostResetStep = 0x4A3FE0,
    .HostPlaySound = 0x57CF70,
    .HostRouteGraph = 0x8F690C,
    .HostDepthOffset = 0x5FF09C,
    .HostVertexArray2D = 0x6E9168,
    .HostScreenExtentW = 0x8F4420,
    .HostScreenExtentH = 0x8F4424,
    .HostObjectPool1 = 0x943294,
    .HostObjectPool2 = 0x8F2D14,
    .HostObjectPool3 = 0x880DD8,
    .HostDrawContextPointer = 0x661228,
    .HostRouteWidthDivisor = 0x8E27CC,
    .HostBlipTable = 0x6ED5E0,
    .HostAreaNumber = 0x9416CC,
    .HostSoundObject = 0x95CF76,
    .HostTimeMs = 0x885AF8,
    .HostTextFromAscii = 0x500AA0,
    .HostTextPrint = 0x501030,
    .HostTextOptionA = 0x501E90,
    .HostTextScale = 0x501C60,
    .HostTextColour = 0x501CB0,
    .HostTextOptionB = 0x501D40,
    .HostTextOptionC = 0x501F50,
    .HostTextOptionD = 0x501E80,
};

// The host addresses of the running build; all 0 until process attach binds a build.
extern HostBindings Bindings;

// ---------------------------------------------------------------------------------------
// Host code the plug-in rewrites, per build.
// ---------------------------------------------------------------------------------------

// Where the build's signature lies; the same in both builds.
constexpr HostAddress HostSignatureAddress = 0x60F428;
// The signature read as one little-endian dword: "Rock" and "IPSI" in memory order.
constexpr uint32_t HostSignatureBuild10 = 0x6B636F52;
constexpr uint32_t HostSignatureBuild11 = 0x49535049;

struct GuidePatchSites {
    HostAddress radarDrawCall;   // CALL of HostRadarDrawStep -> RadarDrawHook
    HostAddress radarFrameCall;  // CALL of HostRadarFrameStep -> RadarFrameHook
    HostAddress resetCall;       // CALL of HostResetStep -> ResetHook
    HostAddress nopPatch;        // five bytes made NOPs
};

constexpr GuidePatchSites GuidePatchSitesBuild10{0x4A42D6, 0x4A6C8D, 0x48C4F6, 0x4A6B50};
constexpr GuidePatchSites GuidePatchSitesBuild11{0x4A43C6, 0x4A6D7D, 0x48C5F6, 0x4A6C40};

// The frame site is a call inside HostRadarDrawStep and the NOP site lies inside
// HostRadarFrameStep, in both builds.
static_assert(GuidePatchSitesBuild10.radarFrameCall - HostBindingsBuild10.HostRadarDrawStep == 0x6D);
static_assert(GuidePatchSitesBuild11.radarFrameCall - HostBindingsBuild11.HostRadarDrawStep == 0x6D);
static_assert(GuidePatchSitesBuild10.nopPatch - HostBindingsBuild10.HostRadarFrameStep == 0x190);
static_assert(GuidePatchSitesBuild11.nopPatch - HostBindingsBuild11.HostRadarFrameStep == 0x190);

// ---------------------------------------------------------------------------------------
// Host record layouts. Only the fields the plug-in reads are named.
// ---------------------------------------------------------------------------------------

// Anything placed in the host world (the player's vehicle, the objects blips follow).
struct HostPlacedObject {
    uint8_t pad00[52];
    Vector3 position;  // 52, 56, 60
};
static_assert(offsetof(HostPlacedObject, position) == 52);
static_assert(offsetof(HostPlacedObject, position.z) == 60);

// An object of pool 2: it may stand for another object, whose position is then used.
struct HostPool2Object {
    HostPlacedObject placed;
    uint8_t pad40[784 - sizeof(HostPlacedObject)];
    HostPlacedObject* standIn;  // 784
    uint8_t usesStandIn;        // 788
};
static_assert(offsetof(HostPool2Object, standIn) == 784);
static_assert(offsetof(HostPool2Object, usesStandIn) == 788);

// One of the host's 32 radar blips.
struct HostBlip {
    uint32_t colourId;      // 0: first argument of HostBlipColourQuery
    int32_t kind;           // 4: 1 to 3 follow an object by handle, others have a position
    int32_t handle;         // 8
    uint8_t pad0C[20 - 12];
    Vector3 position;       // 20, 24, 28
    uint8_t pad20[34 - 32];
    uint8_t brightness;     // 34: second argument of HostBlipColourQuery
    uint8_t inUse;          // 35
    uint8_t pad24[44 - 36];
    uint16_t hidden;        // 44: the blip is skipped when non-zero
    uint8_t pad2E[48 - 46];
};
static_assert(sizeof(HostBlip) == 48);
static_assert(offsetof(HostBlip, kind) == 4);
static_assert(offsetof(HostBlip, handle) == 8);
static_assert(offsetof(HostBlip, position) == 20);
static_assert(offsetof(HostBlip, brightness) == 34);
static_assert(offsetof(HostBlip, inUse) == 35);
static_assert(offsetof(HostBlip, hidden) == 44);

constexpr int HostBlipCount = 32;

// The 2-D drawing context; HostQuadSetup builds quads at its depth.
struct HostDrawContext {
    uint8_t pad00[24];
    float quadDepth;  // 24
};
static_assert(offsetof(HostDrawContext, quadDepth) == 24);

// A host path node begins with its world position.
using HostPathNode = Vector3;

// ---------------------------------------------------------------------------------------
// Host variables, read through the bound addresses.
// ---------------------------------------------------------------------------------------

template <class T>
T& HostVariable(HostAddress address) {
    return *reinterpret_cast<T*>(uintptr_t(address));
}

inline uint32_t ReadHostTimeMs() { return HostVariable<volatile uint32_t>(Bindings.HostTimeMs); }
inline int32_t ReadHostAreaNumber() {
    return HostVariable<volatile int32_t>(Bindings.HostAreaNumber);
}
inline HostBlip* HostBlips() { return &HostVariable<HostBlip>(Bindings.HostBlipTable); }
inline HostDrawContext* HostDrawContextObject() {
    return HostVariable<HostDrawContext*>(Bindings.HostDrawContextPointer);
}

// ---------------------------------------------------------------------------------------
// Host routines. Each helper calls through its bound address with the routine's shape.
// ---------------------------------------------------------------------------------------

template <class Routine>
Routine HostRoutine(HostAddress address) {
    return reinterpret_cast<Routine>(uintptr_t(address));
}

inline HostPlacedObject* HostGetPlayerVehicle() {
    return HostRoutine<HostPlacedObject*(__cdecl*)()>(Bindings.HostGetPlayerVehicle)();
}

// Method of HostRouteGraph; the two positions travel by value as three floats each.
inline void HostRouteSearch(int32_t first, float startX, float startY, float startZ,
                            int32_t third, float endX, float endY, float endZ,
                            HostPathNode** nodes, int16_t* nodeCount, int32_t room,
                            HostPlacedObject* vehicle, int32_t ninth, float bound,
                            int32_t eleventh) {
    using Routine = void(__thiscall*)(void*, int32_t, float, float, float, int32_t, float, float,
                                      float, HostPathNode**, int16_t*, int32_t,
                                      HostPlacedObject*, int32_t, float, int32_t);
    HostRoutine<Routine>(Bindings.HostRouteSearch)(
        reinterpret_cast<void*>(uintptr_t(Bindings.HostRouteGraph)), first, startX, startY,
        startZ, third, endX, endY, endZ, nodes, nodeCount, room, vehicle, ninth, bound,
        eleventh);
}

inline void HostWorldToRadar(Vector2* radar, const Vector3* world) {
    HostRoutine<void(__cdecl*)(Vector2*, const Vector3*)>(Bindings.HostWorldToRadar)(radar,
                                                                                        world);
}

// Always given one address for both: converts in place.
inline void HostRadarToScreen(Vector2* point) {
    HostRoutine<void(__cdecl*)(Vector2*, const Vector2*)>(Bindings.HostRadarToScreen)(point,
                                                                                         point);
}

inline float HostQuadDepthQuery() {
    return HostRoutine<float(__cdecl*)()>(Bindings.HostQuadDepthQuery)();
}

inline void HostDrawStateSet(int32_t state, int32_t value) {
    HostRoutine<void(__cdecl*)(int32_t, int32_t)>(Bindings.HostDrawStateSet)(state, value);
}

inline void HostSecondaryStateSet(int32_t first, int32_t second) {
    HostRoutine<void(__cdecl*)(int32_t, int32_t)>(Bindings.HostSecondaryStateSet)(first, second);
}

inline void HostQuadSetup(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                          float y4, const Rgba* colour1, const Rgba* colour2,
                          const Rgba* colour3, const Rgba* colour4) {
    using Routine = void(__cdecl*)(float, float, float, float, float, float, float, float,
                                   const Rgba*, const Rgba*, const Rgba*, const Rgba*);
    HostRoutine<Routine>(Bindings.HostQuadSetup)(x1, y1, x2, y2, x3, y3, x4, y4, colour1, colour2,
                                                 colour3, colour4);
}

// Draws the four vertices HostQuadSetup just built into HostVertexArray2D.
inline void HostSubmitVertices2D() {
    HostRoutine<void(__cdecl*)(int32_t, void*, int32_t)>(Bindings.HostSubmitVertices2D)(
        5, reinterpret_cast<void*>(uintptr_t(Bindings.HostVertexArray2D)), 4);
}

inline uint32_t HostBlipColourQuery(uint32_t colourId, uint32_t brightness) {
    return HostRoutine<uint32_t(__cdecl*)(uint32_t, uint32_t)>(Bindings.HostBlipColourQuery)(
        colourId, brightness);
}

inline void HostDrawRadarMarker(float x, float y, int32_t kind, int32_t red, int32_t green,
                                int32_t blue, int32_t alpha) {
    using Routine = void(__cdecl*)(float, float, int32_t, int32_t, int32_t, int32_t, int32_t);
    HostRoutine<Routine>(Bindings.HostDrawRadarMarker)(x, y, kind, red, green, blue, alpha);
}

// Methods of the pools read from HostObjectPool1..3: the object a handle names, or null.
inline HostPlacedObject* HostPoolLookup(HostAddress routine, HostAddress poolPointer,
                                        int32_t handle) {
    using Routine = HostPlacedObject*(__thiscall*)(void*, int32_t);
    return HostRoutine<Routine>(routine)(HostVariable<void*>(poolPointer), handle);
}
inline HostPlacedObject* HostHandleToObject1(int32_t handle) {
    return HostPoolLookup(Bindings.HostHandleToObject1, Bindings.HostObjectPool1, handle);
}
inline HostPool2Object* HostHandleToObject2(int32_t handle) {
    return reinterpret_cast<HostPool2Object*>(
        HostPoolLookup(Bindings.HostHandleToObject2, Bindings.HostObjectPool2, handle));
}
inline HostPlacedObject* HostHandleToObject3(int32_t handle) {
    return HostPoolLookup(Bindings.HostHandleToObject3, Bindings.HostObjectPool3, handle);
}

inline void HostRadarDrawStep(void* self) {
    HostRoutine<void(__thiscall*)(void*)>(Bindings.HostRadarDrawStep)(self);
}

inline void HostRadarFrameStep(void* self) {
    HostRoutine<void(__thiscall*)(void*)>(Bindings.HostRadarFrameStep)(self);
}

inline uint32_t HostResetStep(void* self) {
    return HostRoutine<uint32_t(__thiscall*)(void*)>(Bindings.HostResetStep)(self);
}

// Method of HostSoundObject.
inline void HostPlaySound(int32_t soundId, int32_t second) {
    HostRoutine<void(__thiscall*)(void*, int32_t, int32_t)>(Bindings.HostPlaySound)(
        reinterpret_cast<void*>(uintptr_t(Bindings.HostSoundObject)), soundId, second);
}

// Host text is 16-bit characters.
inline void HostTextFromAscii(const char* text, uint16_t* buffer) {
    HostRoutine<void(__cdecl*)(const char*, uint16_t*)>(Bindings.HostTextFromAscii)(text, buffer);
}

inline void HostTextPrint(float x, float y, const uint16_t* buffer) {
    HostRoutine<void(__cdecl*)(float, float, const uint16_t*)>(Bindings.HostTextPrint)(x, y,
                                                                                      buffer);
}

inline void HostTextOptionA(int32_t value) {
    HostRoutine<void(__cdecl*)(int32_t)>(Bindings.HostTextOptionA)(value);
}

inline void HostTextScale(float x, float y) {
    HostRoutine<void(__cdecl*)(float, float)>(Bindings.HostTextScale)(x, y);
}

inline void HostTextColour(const Rgba* colour) {
    HostRoutine<void(__cdecl*)(const Rgba*)>(Bindings.HostTextColour)(colour);
}

inline void HostTextOptionB() { HostRoutine<void(__cdecl*)()>(Bindings.HostTextOptionB)(); }

inline void HostTextOptionC(int32_t value) {
    HostRoutine<void(__cdecl*)(int32_t)>(Bindings.HostTextOptionC)(value);
}

inline void HostTextOptionD() { HostRoutine<void(__cdecl*)()>(Bindings.HostTextOptionD)(); }
