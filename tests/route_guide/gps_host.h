// Doubles of every host routine the route guide calls, at the addresses of both host
// builds, and the scene a test builds for it: the player's vehicle, blips, pools, the
// draw context and the route the host's search answers with.
//
// The addresses here are written out from the host's own tables, independently of the
// plug-in, so that a wrong address in the plug-in shows up as a call that never arrives.
#pragma once

#include <windows.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/sim/fixture.h"

namespace sim::gps {

struct Point2 {
    float x, y;
};
struct Point3 {
    float x, y, z;
};
struct Colour {
    uint8_t r, g, b, a;
    bool operator==(const Colour&) const = default;
};

template <bool Build11>
constexpr uint32_t Pick(uint32_t build10, uint32_t build11) {
    return Build11 ? build11 : build10;
}

template <bool Build11>
struct GuideHost {
    static constexpr const char* name = Build11 ? "Build11" : "Build10";
    static constexpr uint32_t SignatureAddress = 0x60F428;
    static constexpr std::array<uint8_t, 4> signature =
        Build11 ? std::array<uint8_t, 4>{0x49, 0x50, 0x53, 0x49}    // "IPSI"
                : std::array<uint8_t, 4>{0x52, 0x6F, 0x63, 0x6B};  // "Rock"

    // Patch sites
    static constexpr uint32_t RadarDrawSite = Pick<Build11>(0x4A42D6, 0x4A43C6);
    static constexpr uint32_t RadarFrameSite = Pick<Build11>(0x4A6C8D, 0x4A6D7D);
    static constexpr uint32_t ResetSite = Pick<Build11>(0x48C4F6, 0x48C5F6);
    static constexpr uint32_t NopSite = Pick<Build11>(0x4A6B50, 0x4A6C40);

    // Host objects and variables
    static constexpr uint32_t RouteGraph = Pick<Build11>(0x8F6754, 0x8F690C);
    static constexpr uint32_t DepthOffset = Pick<Build11>(0x5FF2B4, 0x5FF09C);
    static constexpr uint32_t VertexArray2D = 0x6E9168;
    static constexpr uint32_t ScreenExtentW = Pick<Build11>(0x8F436C, 0x8F4420);
    static constexpr uint32_t ScreenExtentH = Pick<Build11>(0x8F4370, 0x8F4424);
    static constexpr uint32_t ObjectPool1 = Pick<Build11>(0x9430DC, 0x943294);
    static constexpr uint32_t ObjectPool2 = Pick<Build11>(0x8F2C60, 0x8F2D14);
    static constexpr uint32_t ObjectPool3 = Pick<Build11>(0x880E28, 0x880DD8);
    static constexpr uint32_t DrawContextPointer = 0x661228;
    static constexpr uint32_t RouteWidthDivisor = Pick<Build11>(0x8E281C, 0x8E27CC);
    static constexpr uint32_t BlipTable = 0x6ED5E0;
    static constexpr uint32_t AreaNumber = Pick<Build11>(0x941514, 0x9416CC);
    static constexpr uint32_t SoundObject = Pick<Build11>(0x95CDBE, 0x95CF76);
    static constexpr uint32_t TimeMs = Pick<Build11>(0x885B48, 0x885AF8);

    // Host routines
    using GetPlayerVehicle = PlainFake<Pick<Build11>(0x4A10C0, 0x4A11B0), uint32_t()>;
    using RouteSearch =
        MethodFake<0x42B040, void(uint32_t graph, int32_t, float, float, float, int32_t, float,
                                  float, float, uint32_t* nodes, int16_t* nodeCount, int32_t,
                                  uint32_t vehicle, int32_t, float, int32_t)>;
    using WorldToRadar =
        PlainFake<Pick<Build11>(0x4A50D0, 0x4A51C0), void(Point2* radar, const Point3* world)>;
    using RadarToScreen =
        PlainFake<Pick<Build11>(0x4A5040, 0x4A5130), void(Point2* screen, const Point2* radar)>;
    using QuadDepthQuery = PlainFake<Pick<Build11>(0x5A43A0, 0x5A4660), float()>;
    using DrawStateSet = PlainFake<Pick<Build11>(0x5A43C0, 0x5A4680), void(int32_t, int32_t)>;
    using SecondaryStateSet =
        PlainFake<Pick<Build11>(0x5B3CF0, 0x5B3FB0), void(int32_t, int32_t)>;
    using QuadSetup =
        PlainFake<Pick<Build11>(0x51F070, 0x51F2A0),
                  void(float, float, float, float, float, float, float, float, const Colour*,
                       const Colour*, const Colour*, const Colour*)>;
    using SubmitVertices2D =
        PlainFake<Pick<Build11>(0x5A4430, 0x5A46F0), void(int32_t, uint32_t, int32_t)>;
    using BlipColourQuery =
        PlainFake<Pick<Build11>(0x4A5BB0, 0x4A5CA0), uint32_t(uint32_t, uint32_t)>;
    using DrawRadarMarker =
        PlainFake<Pick<Build11>(0x4A5870, 0x4A5960),
                  void(float, float, int32_t, int32_t, int32_t, int32_t, int32_t)>;
    using HandleToObject1 = MethodFake<0x43EAF0, uint32_t(uint32_t pool, int32_t handle)>;
    using HandleToObject2 = MethodFake<0x43EB30, uint32_t(uint32_t pool, int32_t handle)>;
    using HandleToObject3 = MethodFake<0x43EAB0, uint32_t(uint32_t pool, int32_t handle)>;
    using RadarDrawStep = MethodFake<Pick<Build11>(0x4A6C20, 0x4A6D10), void(uint32_t)>;
    using RadarFrameStep = MethodFake<Pick<Build11>(0x4A69C0, 0x4A6AB0), void(uint32_t)>;
    using ResetStep = MethodFake<Pick<Build11>(0x4A3EF0, 0x4A3FE0), uint32_t(uint32_t)>;
    using PlaySound =
        MethodFake<Pick<Build11>(0x57CC20, 0x57CF70), void(uint32_t, int32_t, int32_t)>;
    using TextFromAscii =
        PlainFake<Pick<Build11>(0x5009C0, 0x500AA0), void(const char*, uint16_t*)>;
    using TextPrint =
        PlainFake<Pick<Build11>(0x500F50, 0x501030), void(float, float, const uint16_t*)>;
    using TextOptionA = PlainFake<Pick<Build11>(0x501DB0, 0x501E90), void(int32_t)>;
    using TextScale = PlainFake<Pick<Build11>(0x501B80, 0x501C60), void(float, float)>;
    using TextColour = PlainFake<Pick<Build11>(0x501BD0, 0x501CB0), void(const Colour*)>;
    using TextOptionB = PlainFake<Pick<Build11>(0x501C60, 0x501D40), void()>;
    using TextOptionC = PlainFake<Pick<Build11>(0x501E70, 0x501F50), void(int32_t)>;
    using TextOptionD = PlainFake<Pick<Build11>(0x501DA0, 0x501E80), void()>;

    template <class Visit>
    static void ForEachDouble(Visit visit) {
        visit.template operator()<GetPlayerVehicle, RouteSearch, WorldToRadar, RadarToScreen,
                                  QuadDepthQuery, DrawStateSet, SecondaryStateSet, QuadSetup,
                                  SubmitVertices2D, BlipColourQuery, DrawRadarMarker,
                                  HandleToObject1, HandleToObject2, HandleToObject3,
                                  RadarDrawStep, RadarFrameStep, ResetStep, PlaySound,
                                  TextFromAscii, TextPrint, TextOptionA, TextScale, TextColour,
                                  TextOptionB, TextOptionC, TextOptionD>();
    }
    // Places every double (answers cleared).
    static void PlaceAllDoubles() {
        ForEachDouble([]<class... Fakes>() { PlaceAll<Fakes...>(); });
    }
    // Forgets every recorded call, answers kept.
    static void ClearCalls() {
        ForEachDouble([]<class... Fakes>() { (Fakes::calls.clear(), ...); });
        CallLog().clear();
    }
};

using Build10 = GuideHost<false>;
using Build11 = GuideHost<true>;
using Builds = testing::Types<Build10, Build11>;

struct BuildName {
    template <class Host>
    static std::string GetName(int) {
        return Host::name;
    }
};

// Whether address lies in the image of the loaded module.
inline bool IsInsideModule(HMODULE module, uint32_t address) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        reinterpret_cast<const uint8_t*>(module) + dos->e_lfanew);
    return address >= Addr(module) && address < Addr(module) + nt->OptionalHeader.SizeOfImage;
}

// The nine modes, in the order of their values.
enum Mode : int {
    Default, Safehouse, PayNSpray, AmmuNation, BombShop, Hospital, Police, FireStation, Disabled
};
// Alt + this key selects the mode.
constexpr int ModeKeys[] = {VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4,
                            VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_SUBTRACT};

constexpr int16_t KeyHeld = int16_t(0xFF80);

// A quad as HostQuadSetup received it.
struct Quad {
    std::array<float, 8> corners;
    std::array<Colour, 4> colours;
    std::array<const Colour*, 4> colourAddresses;
    float depth;  // the draw context's quad depth while the quad was built
};

struct Blip {
    int32_t kind = 0;
    int32_t handle = 0;
    Point3 own{};
    uint32_t colourId = 0;
    uint8_t brightness = 0;
    uint8_t inUse = 1;
    uint16_t hidden = 0;
};

// Doubles placed and a scene built in host memory; the plug-in is not loaded yet.
template <class Host>
class GuideHostTest : public SimHostTest {
protected:
    // Scratch host memory of the scene.
    static constexpr uint32_t VehicleAt = ScratchData + 0x5000;
    static constexpr uint32_t DrawContextAt = ScratchData + 0x5400;
    static constexpr uint32_t Pool1At = ScratchData + 0x5480;
    static constexpr uint32_t Pool2At = ScratchData + 0x5490;
    static constexpr uint32_t Pool3At = ScratchData + 0x54A0;
    static constexpr uint32_t RadarDrawThis = ScratchData + 0x5500;
    static constexpr uint32_t RadarFrameThis = ScratchData + 0x5540;
    static constexpr uint32_t ResetThis = ScratchData + 0x5580;
    static constexpr uint32_t ObjectsAt = ScratchData + 0x6000;  // 0x400 bytes each, 8 of them
    static constexpr uint32_t NodesAt = ScratchData + 0x8000;    // 12 bytes each
    static constexpr int NodeRoom = 200;

    static constexpr float QueriedDepth = 0.5f;
    static constexpr float DepthOffsetValue = 0.25f;
    static constexpr float ContextDepth = 7.0f;
    static constexpr uint32_t ResetResult = 0xC0FFEE17;

    void SetUp() override {
        SimHostTest::SetUp();
        PokeBytes(Host::SignatureAddress,
                  {Host::signature[0], Host::signature[1], Host::signature[2], Host::signature[3]});
        Host::PlaceAllDoubles();
        BuildScene();
    }
    void TearDown() override {
        plugin.reset();
        SimHostTest::TearDown();
    }

    void Load() { plugin = LoadRouteGuide(); }

    void BuildScene() {
        SetTime(10000);  // the status text window after load is long closed
        At<int32_t>(Host::AreaNumber) = 1;
        At<float>(Host::RouteWidthDivisor) = 350.0f;
        At<int32_t>(Host::ScreenExtentW) = 640;
        At<int32_t>(Host::ScreenExtentH) = 480;
        At<float>(Host::DepthOffset) = DepthOffsetValue;
        At<uint32_t>(Host::DrawContextPointer) = DrawContextAt;
        At<float>(DrawContextAt + 24) = ContextDepth;
        At<uint32_t>(Host::ObjectPool1) = Pool1At;
        At<uint32_t>(Host::ObjectPool2) = Pool2At;
        At<uint32_t>(Host::ObjectPool3) = Pool3At;

        Host::GetPlayerVehicle::answer = [] { return VehicleAt; };
        // Radar space is the world's x and y; the screen is 100 pixels per radar unit
        // around (320, 240), y downwards.
        Host::WorldToRadar::answer = [](Point2* radar, const Point3* world) {
            *radar = {world->x, world->y};
        };
        Host::RadarToScreen::answer = [](Point2* screen, const Point2* radar) {
            const Point2 in = *radar;
            *screen = {320.0f + 100.0f * in.x, 240.0f - 100.0f * in.y};
        };
        Host::QuadDepthQuery::answer = [] { return QueriedDepth; };
        Host::QuadSetup::answer = [this](float x1, float y1, float x2, float y2, float x3,
                                         float y3, float x4, float y4, const Colour* c1,
                                         const Colour* c2, const Colour* c3, const Colour* c4) {
            quads.push_back({{x1, y1, x2, y2, x3, y3, x4, y4},
                             {*c1, *c2, *c3, *c4},
                             {c1, c2, c3, c4},
                             At<float>(DrawContextAt + 24)});
        };
        Host::SubmitVertices2D::answer = [this](int32_t, uint32_t, int32_t) {
            submitDepths.push_back(At<float>(DrawContextAt + 24));
        };
        Host::RouteSearch::answer = [this](uint32_t, int32_t, float, float, float, int32_t,
                                           float, float, float, uint32_t* nodes,
                                           int16_t* nodeCount, int32_t, uint32_t, int32_t,
                                           float, int32_t) {
            for (size_t i = 0; i < routeNodes.size() && i < size_t(NodeRoom); ++i)
                nodes[i] = routeNodes[i];
            *nodeCount = reportedCount;
        };
        Host::TextFromAscii::answer = [this](const char* text, uint16_t*) {
            texts.emplace_back(text);
        };
        auto lookup = [this](int pool) {
            return [this, pool](uint32_t, int32_t handle) {
                auto found = objectsByHandle[pool].find(handle);
                return found == objectsByHandle[pool].end() ? 0u : found->second;
            };
        };
        Host::HandleToObject1::answer = lookup(1);
        Host::HandleToObject2::answer = lookup(2);
        Host::HandleToObject3::answer = lookup(3);
        Host::BlipColourQuery::answer = [this](uint32_t, uint32_t) { return blipColour; };
        Host::ResetStep::answer = [](uint32_t) { return ResetResult; };
    }

    // The scene

    void SetTime(uint32_t ms) { At<uint32_t>(Host::TimeMs) = ms; }
    uint32_t Time() { return At<uint32_t>(Host::TimeMs); }
    void SetArea(int32_t area) { At<int32_t>(Host::AreaNumber) = area; }
    void SetVehiclePosition(Point3 position) { At<Point3>(VehicleAt + 52) = position; }

    // A host object at the given position in object slot `slot`; its address.
    uint32_t PlaceObject(int slot, Point3 position) {
        const uint32_t address = ObjectsAt + 0x400 * uint32_t(slot);
        At<Point3>(address + 52) = position;
        return address;
    }
    // A kind-2 object standing for another object.
    void SetStandIn(uint32_t object, uint32_t standIn, uint8_t uses = 1) {
        At<uint32_t>(object + 784) = standIn;
        At<uint8_t>(object + 788) = uses;
    }

    void SetBlip(int index, const Blip& blip) {
        const uint32_t record = Host::BlipTable + 48 * uint32_t(index);
        At<uint32_t>(record + 0) = blip.colourId;
        At<int32_t>(record + 4) = blip.kind;
        At<int32_t>(record + 8) = blip.handle;
        At<Point3>(record + 20) = blip.own;
        At<uint8_t>(record + 34) = blip.brightness;
        At<uint8_t>(record + 35) = blip.inUse;
        At<uint16_t>(record + 44) = blip.hidden;
    }

    // The host's search answers with nodes at these radar points (count reported: their
    // number, unless reportedCount is set afterwards).
    void SetRoute(const std::vector<Point2>& radarPoints) {
        routeNodes.clear();
        for (size_t i = 0; i < radarPoints.size(); ++i) {
            const uint32_t node = NodesAt + 12 * uint32_t(i % NodeRoom);
            At<Point3>(node) = {radarPoints[i].x, radarPoints[i].y, 0.0f};
            routeNodes.push_back(node);
        }
        reportedCount = int16_t(radarPoints.size());
    }

    // Input and frames

    void Hold(std::initializer_list<int> keys) {
        for (int key : keys) Seam().keyStates[key] = KeyHeld;
    }
    void ReleaseKeys() { Seam().keyStates.clear(); }

    SiteResult Frame() { return EnterHostSite(Host::RadarDrawSite, RadarDrawThis, {}); }

    // Selects the mode with its Alt hotkey, then lets the status text window close and
    // forgets every call so far.
    void SelectMode(int mode) {
        ReleaseKeys();
        Hold({VK_MENU, ModeKeys[mode]});
        Frame();
        ReleaseKeys();
        SetTime(Time() + 5000);
        Forget();
    }

    void Forget() {
        Host::ClearCalls();
        quads.clear();
        submitDepths.clear();
        texts.clear();
        Seam().keyStateQueries.clear();
    }

    std::unique_ptr<LoadedPlugin> plugin;
    std::vector<uint32_t> routeNodes;
    int16_t reportedCount = 0;
    std::map<int32_t, uint32_t> objectsByHandle[4];  // by pool 1 to 3
    uint32_t blipColour = 0;
    std::vector<Quad> quads;
    std::vector<float> submitDepths;
    std::vector<std::string> texts;
};

// The plug-in loaded into the scene.
template <class Host>
class GuideTest : public GuideHostTest<Host> {
protected:
    void SetUp() override {
        GuideHostTest<Host>::SetUp();
        this->Load();
        this->Forget();
    }
};

}  // namespace sim::gps
