// The host as the route guide sees it, for both builds it knows: the addresses of its
// routines, variables and patch sites, and doubles of the routines with the call shapes the
// route guide uses (plain routines: caller cleans; methods: object in ECX, callee cleans).
#pragma once

#include <cstdint>

#include "camera_plugin/host/host_interface.h"
#include "tests/sim/host_fake.h"

namespace sandbox {

struct RouteHostBuild10 {
    static constexpr uint32_t GetPlayerVehicle = 0x4A10C0, RouteSearch = 0x42B040,
        WorldToRadar = 0x4A50D0, RadarToScreen = 0x4A5040, QuadDepthQuery = 0x5A43A0,
        DrawStateSet = 0x5A43C0, SecondaryStateSet = 0x5B3CF0, QuadSetup = 0x51F070,
        SubmitVertices2D = 0x5A4430, BlipColourQuery = 0x4A5BB0, DrawRadarMarker = 0x4A5870,
        HandleToObject1 = 0x43EAF0, HandleToObject2 = 0x43EB30, HandleToObject3 = 0x43EAB0,
        RadarDrawStep = 0x4A6C20, RadarFrameStep = 0x4A69C0, ResetStep = 0x4A3EF0,
        PlaySoundById = 0x57CC20, RouteGraph = 0x8F6754, DepthOffset = 0x5FF2B4,
        VertexArray2D = 0x6E9168, ScreenExtentW = 0x8F436C, ScreenExtentH = 0x8F4370,
        ObjectPool1 = 0x9430DC, ObjectPool2 = 0x8F2C60, ObjectPool3 = 0x880E28,
        DrawContextPointer = 0x661228, RouteWidthDivisor = 0x8E281C, BlipTable = 0x6ED5E0,
        AreaNumber = 0x941514, SoundObject = 0x95CDBE, TimeMs = 0x885B48,
        TextFromAscii = 0x5009C0, TextPrint = 0x500F50, TextOptionA = 0x501DB0,
        TextScale = 0x501B80, TextColour = 0x501BD0, TextOptionB = 0x501C60,
        TextOptionC = 0x501E70, TextOptionD = 0x501DA0;
    static constexpr uint32_t RadarDrawSite = 0x4A42D6, RadarFrameSite = 0x4A6C8D,
        ResetSite = 0x48C4F6, NopSite = 0x4A6B50;
};

struct RouteHostBuild11 {
    static constexpr uint32_t GetPlayerVehicle = 0x4A11B0, RouteSearch = 0x42B040,
        WorldToRadar = 0x4A51C0, RadarToScreen = 0x4A5130, QuadDepthQuery = 0x5A4660,
        DrawStateSet = 0x5A4680, SecondaryStateSet = 0x5B3FB0, QuadSetup = 0x51F2A0,
        SubmitVertices2D = 0x5A46F0, BlipColourQuery = 0x4A5CA0, DrawRadarMarker = 0x4A5960,
        HandleToObject1 = 0x43EAF0, HandleToObject2 = 0x43EB30, HandleToObject3 = 0x43EAB0,
        RadarDrawStep = 0x4A6D10, RadarFrameStep = 0x4A6AB0, ResetStep = 0x4A3FE0,
        PlaySoundById = 0x57CF70, RouteGraph = 0x8F690C, DepthOffset = 0x5FF09C,
        VertexArray2D = 0x6E9168, ScreenExtentW = 0x8F4420, ScreenExtentH = 0x8F4424,
        ObjectPool1 = 0x943294, ObjectPool2 = 0x8F2D14, ObjectPool3 = 0x880DD8,
        DrawContextPointer = 0x661228, RouteWidthDivisor = 0x8E27CC, BlipTable = 0x6ED5E0,
        AreaNumber = 0x9416CC, SoundObject = 0x95CF76, TimeMs = 0x885AF8,
        TextFromAscii = 0x500AA0, TextPrint = 0x501030, TextOptionA = 0x501E90,
        TextScale = 0x501C60, TextColour = 0x501CB0, TextOptionB = 0x501D40,
        TextOptionC = 0x501F50, TextOptionD = 0x501E80;
    static constexpr uint32_t RadarDrawSite = 0x4A43C6, RadarFrameSite = 0x4A6D7D,
        ResetSite = 0x48C5F6, NopSite = 0x4A6C40;
};

// One radar blip record of the host (48 bytes).
struct HostBlip {
    uint32_t colourValue;  // 0: first argument of the colour query
    uint32_t kind;         // 4: 1 to 3 follow an object by handle; others have a position
    uint32_t handle;       // 8
    uint8_t pad0C[20 - 12];
    float x, y, z;         // 20
    uint8_t pad20[34 - 32];
    uint8_t colourByte;    // 34: second argument of the colour query
    uint8_t inUse;         // 35
    uint8_t pad24[44 - 36];
    uint16_t skip;         // 44
    uint8_t pad2E[48 - 46];
};
static_assert(sizeof(HostBlip) == 48);
static_assert(offsetof(HostBlip, x) == 20);
static_assert(offsetof(HostBlip, colourByte) == 34);
static_assert(offsetof(HostBlip, inUse) == 35);
static_assert(offsetof(HostBlip, skip) == 44);

struct Vector2 {
    float x, y;
};

template <class B>
struct RouteHostDoubles {
    using GetPlayerVehicle = sim::PlainFake<B::GetPlayerVehicle, HostVehicle*()>;
    using RouteSearch = sim::MethodFake<B::RouteSearch,
        int32_t(void*, int32_t, float, float, float, int32_t, float, float, float, uint32_t*,
                int16_t*, int32_t, void*, int32_t, float, int32_t)>;
    using WorldToRadar = sim::PlainFake<B::WorldToRadar, Vector2*(Vector2*, const Vector3*)>;
    using RadarToScreen = sim::PlainFake<B::RadarToScreen, Vector2*(Vector2*, const Vector2*)>;
    using QuadDepthQuery = sim::PlainFake<B::QuadDepthQuery, float()>;
    using DrawStateSet = sim::PlainFake<B::DrawStateSet, int32_t(int32_t, uint32_t)>;
    using SecondaryStateSet = sim::PlainFake<B::SecondaryStateSet, int32_t(int32_t, int32_t)>;
    using QuadSetup = sim::PlainFake<B::QuadSetup,
        void(float, float, float, float, float, float, float, float, const HostRgba*,
             const HostRgba*, const HostRgba*, const HostRgba*)>;
    using SubmitVertices2D = sim::PlainFake<B::SubmitVertices2D, int32_t(int32_t, void*, int32_t)>;
    using BlipColourQuery = sim::PlainFake<B::BlipColourQuery, uint32_t(uint32_t, uint32_t)>;
    using DrawRadarMarker = sim::PlainFake<B::DrawRadarMarker,
        void(float, float, int32_t, int32_t, int32_t, int32_t, int32_t)>;
    using HandleToObject1 = sim::MethodFake<B::HandleToObject1, void*(void*, int32_t)>;
    using HandleToObject2 = sim::MethodFake<B::HandleToObject2, void*(void*, int32_t)>;
    using HandleToObject3 = sim::MethodFake<B::HandleToObject3, void*(void*, int32_t)>;
    using RadarDrawStep = sim::MethodFake<B::RadarDrawStep, void(void*)>;
    using RadarFrameStep = sim::MethodFake<B::RadarFrameStep, void(void*)>;
    using ResetStep = sim::MethodFake<B::ResetStep, int32_t(void*)>;
    using PlaySoundById = sim::MethodFake<B::PlaySoundById, void(void*, int32_t, int32_t)>;
    using TextFromAscii = sim::PlainFake<B::TextFromAscii, void(const char*, uint16_t*)>;
    using TextPrint = sim::PlainFake<B::TextPrint, void(float, float, const uint16_t*)>;
    using TextOptionA = sim::PlainFake<B::TextOptionA, void(int32_t)>;
    using TextScale = sim::PlainFake<B::TextScale, void(float, float)>;
    using TextColour = sim::PlainFake<B::TextColour, void(const HostRgba*)>;
    using TextOptionB = sim::PlainFake<B::TextOptionB, void()>;
    using TextOptionC = sim::PlainFake<B::TextOptionC, void(int32_t)>;
    using TextOptionD = sim::PlainFake<B::TextOptionD, void()>;

    static void PlaceAll() {
        sim::PlaceAll<GetPlayerVehicle, RouteSearch, WorldToRadar, RadarToScreen, QuadDepthQuery,
                      DrawStateSet, SecondaryStateSet, QuadSetup, SubmitVertices2D,
                      BlipColourQuery, DrawRadarMarker, HandleToObject1, HandleToObject2,
                      HandleToObject3, RadarDrawStep, RadarFrameStep, ResetStep, PlaySoundById,
                      TextFromAscii, TextPrint, TextOptionA, TextScale, TextColour, TextOptionB,
                      TextOptionC, TextOptionD>();
    }
};

}  // namespace sandbox
