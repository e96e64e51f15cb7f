#include "tools/sandbox/simulation.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <cstdio>
#include <cstring>
#include <queue>
#include <sstream>

#include "tests/fake_ginput/fake_ginput.h"
#include "tests/route_guide/gps_host.h"
#include "tests/sim/enter_site.h"
#include "tests/sim/host_memory.h"
#include "tests/sim/kelvora_host.h"
#include "tests/sim/plugin_loader.h"
#include "tests/sim/windows_seam.h"

namespace sandbox {

namespace {

using namespace sim;
namespace k = sim::kelvora;

constexpr double Pi = 3.141592653589793;

// Scratch host memory of the sandbox (the camera world of BuildHostWorld lies below).
constexpr uint32_t RadarObject = 0x9F6000;     // `this` at the radar sites
constexpr uint32_t ResetObject = 0x9F6080;     // `this` at the reset site
constexpr uint32_t DrawContext = 0x9F6100;     // the host's 2-D drawing context
constexpr uint32_t TargetPoint = 0x9F6200;     // the point the host hands the cameras
constexpr uint32_t RoadNodes = 0x9F8000;       // path nodes, 16 bytes each
constexpr uint32_t RoadNodeStride = 16;

constexpr uint32_t AimingSite = 0x46D500;
constexpr uint32_t OnFootCameraSite = 0x459A7C;
constexpr uint32_t VehicleCameraSite = 0x459A54;
constexpr uint32_t PlayerUpdateSite = 0x4E72FC;
constexpr uint32_t CrosshairSite = 0x505EA9;
constexpr int16_t OnFootCamMode = 4;
constexpr int16_t VehicleCamMode = 18;

// What the sandbox feeds the host between frames; scenario commands change it.
struct Inputs {
    int dt = 33;
    bool inVehicle = false;
    Vector3 player{0, 0, 1};
    float playerFacing = float(Pi / 2);
    float walkX = 0, walkY = 0, walkMeasure = -1;
    Vector3 vehicle{0, 0, 1};
    float vehicleFacing = 0;
    int model = 90;
    float speed = 0, driveMeasure = -1, steer = 0;
    float mouseX = 0, mouseY = 0;
    int stickX = 0, stickY = 0;
    float sensitivityX = 0.0025f, sensitivityY = 0.0025f;
    bool aim = false, fire = false, firePrevious = false, lockRequest = false;
    int weapon = 4;
    int lockFlag = 1;
    bool hasTarget = false;
    Vector3 target{};
    float zoom = 2;
    int camState = 3;
    bool behind = false, reset = false;
    std::vector<int> keys;
    int area = 1;
    float radarRange = 150, radarRotation = 0;
    bool cameraPlaced = false;
};

float Length(Vector3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
Vector3 Sub(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Where the segment from a to b first meets a wall, as a fraction of the way (or > 1).
float FirstHit(const std::vector<Wall>& walls, Vector3 a, Vector3 b) {
    float best = 2;
    const float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    for (const Wall& wall : walls) {
        float t = 2;
        if (!wall.box) {
            const float ex = wall.x2 - wall.x1, ey = wall.y2 - wall.y1;
            const float denominator = dx * ey - dy * ex;
            if (denominator == 0) continue;  // parallel: a wall seen edge-on cuts nothing
            const float s = ((wall.x1 - a.x) * ey - (wall.y1 - a.y) * ex) / denominator;
            const float u = ((wall.x1 - a.x) * dy - (wall.y1 - a.y) * dx) / denominator;
            if (s < 0 || s > 1 || u < 0 || u > 1) continue;
            t = s;
        } else {
            // Slabs in x, y and z.
            float enter = 0, leave = 1;
            const float from[3] = {a.x, a.y, a.z}, step[3] = {dx, dy, dz};
            const float low[3] = {std::min(wall.x1, wall.x2), std::min(wall.y1, wall.y2), wall.zMin};
            const float high[3] = {std::max(wall.x1, wall.x2), std::max(wall.y1, wall.y2), wall.zMax};
            bool missed = false;
            for (int axis = 0; axis < 3 && !missed; ++axis) {
                if (step[axis] == 0) {
                    missed = from[axis] < low[axis] || from[axis] > high[axis];
                    continue;
                }
                float t0 = (low[axis] - from[axis]) / step[axis];
                float t1 = (high[axis] - from[axis]) / step[axis];
                if (t0 > t1) std::swap(t0, t1);
                enter = std::max(enter, t0);
                leave = std::min(leave, t1);
                missed = enter > leave;
            }
            if (missed) continue;
            t = enter;
        }
        const float z = a.z + dz * t;
        if (!wall.box && (z < wall.zMin || z > wall.zMax)) continue;
        best = std::min(best, t);
    }
    return best;
}

class Simulation;
Simulation* active = nullptr;
char activity[300] = "starting";

class Simulation {
public:
    Simulation(const Scenario& scenario, ScenarioRun& run) : scenario_(scenario), run_(run) {
        active = this;
    }
    ~Simulation() {
        plugins_.clear();
        UnloadGInput();
        active = nullptr;
    }

    bool Run(std::string& error, const Progress& progress);

private:
    template <class Host>
    void SetUpRouteHost();
    void SetUpCameraHost();
    void BuildRoads();
    void PrefillHostCalls();
    bool LoadPlugins(std::string& error);
    void CapturePatches(Plugin plugin, const HostSnapshot& before, size_t protectFrom);
    void Apply(const Step& step);
    void PlaceCamera(float heading, float pitch);
    void RunFrame();
    void WriteWorld();
    void RecordCamera(FrameRecord& frame);
    bool CallsIntoPlugin(uint32_t site) const;
    bool SiteCallsAnything(uint32_t site) const;
    void EnterIfCalling(uint32_t site, uint32_t thisPointer, std::initializer_list<uint32_t> args);
    void RouteSearch(float sx, float sy, float sz, float dx, float dy, float dz, uint32_t* nodes,
                     int16_t* count, int32_t room);
    Vector2 WorldToRadar(Vector3 world) const;
    Vector3 Subject() const { return inputs_.inVehicle ? inputs_.vehicle : inputs_.player; }
    float SubjectFacing() const {
        return inputs_.inVehicle ? inputs_.vehicleFacing : inputs_.playerFacing;
    }
    void LoadGInput();
    static void UnloadGInput();
    void TallyCalls();

    friend struct Answers;

    const Scenario& scenario_;
    ScenarioRun& run_;
    Inputs inputs_;
    FrameRecord* frame_ = nullptr;
    FrameRecord scratchFrame_;
    k::HostWorld world_{};
    std::vector<std::unique_ptr<LoadedPlugin>> plugins_;
    FakeGInputControl* ginput_ = nullptr;
    int32_t timeMs_ = 0;
    uint32_t timeAddress_ = 0, areaAddress_ = 0;
    uint32_t radarDrawSite_ = 0, radarFrameSite_ = 0, resetSite_ = 0;
    enum class Drawer { Radar, Crosshair } drawer_ = Drawer::Radar;
    bool inRadarFrame_ = false;
    bool pivotRoutineCalled_ = false;
    std::vector<std::vector<std::pair<int, float>>> links_;
};

Vector2 Simulation::WorldToRadar(Vector3 world) const {
    const Vector3 centre = Subject();
    const float x = (world.x - centre.x) / inputs_.radarRange;
    const float y = (world.y - centre.y) / inputs_.radarRange;
    const float c = std::cos(inputs_.radarRotation), s = std::sin(inputs_.radarRotation);
    return {x * c + y * s, -x * s + y * c};
}

bool Simulation::CallsIntoPlugin(uint32_t site) const {
    if (At<uint8_t>(site) != 0xE8) return false;
    const uint32_t target = Rel32Target(site);
    for (const LoadedModule& module : run_.modules)
        if (module.loaded && target >= module.base && target < module.base + module.size)
            return true;
    return false;
}

// A CALL into a plug-in, or the host's own CALL to a routine the sandbox plays.
bool Simulation::SiteCallsAnything(uint32_t site) const {
    if (CallsIntoPlugin(site)) return true;
    const SiteInfo* info = FindSite(scenario_.build, site);
    return info != nullptr && info->address == site && info->hostTarget != 0 &&
           At<uint8_t>(site) == 0xE8 && Rel32Target(site) == info->hostTarget;
}

void Simulation::EnterIfCalling(uint32_t site, uint32_t thisPointer,
                                std::initializer_list<uint32_t> args) {
    if (SiteCallsAnything(site)) EnterHostSite(site, thisPointer, args);
}

void Simulation::RouteSearch(float sx, float sy, float sz, float dx, float dy, float dz,
                             uint32_t* nodes, int16_t* count, int32_t room) {
    FrameRecord& frame = *frame_;
    frame.searched = true;
    frame.destination = {dx, dy, dz};
    *count = 0;
    const std::vector<Vector3>& graph = run_.roadNodes;
    if (graph.empty()) return;
    auto nearest = [&](float x, float y, float z) {
        int best = 0;
        float bestDistance = std::numeric_limits<float>::max();
        for (size_t i = 0; i < graph.size(); ++i) {
            const float d = Length(Sub(graph[i], Vector3{x, y, z}));
            if (d < bestDistance) bestDistance = d, best = int(i);
        }
        return best;
    };
    const int from = nearest(sx, sy, sz), to = nearest(dx, dy, dz);
    std::vector<float> distance(graph.size(), std::numeric_limits<float>::max());
    std::vector<int> previous(graph.size(), -1);
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    distance[from] = 0;
    open.push({0, from});
    while (!open.empty()) {
        const auto [d, node] = open.top();
        open.pop();
        if (d > distance[node]) continue;
        if (node == to) break;
        for (const auto& [next, length] : links_[node])
            if (d + length < distance[next]) {
                distance[next] = d + length;
                previous[next] = node;
                open.push({distance[next], next});
            }
    }
    if (to != from && previous[to] < 0) return;  // no road leads there
    std::vector<int> path;
    for (int node = to; node >= 0; node = previous[node]) path.push_back(node);
    std::reverse(path.begin(), path.end());
    const int written = std::min<int>(int(path.size()), std::max(0, room));
    for (int i = 0; i < written; ++i) {
        nodes[i] = RoadNodes + uint32_t(path[i]) * RoadNodeStride;
        frame.routeNodes.push_back(graph[path[i]]);
        frame.routeRadar.push_back(WorldToRadar(graph[path[i]]));
    }
    *count = int16_t(written);
}

// Every host routine the plug-ins call, played by the sandbox.
struct Answers {
    static Simulation& S() { return *active; }
    static FrameRecord& F() { return *S().frame_; }

    static void Camera() {
        k::GetPlayerHeading::answer = [] { return float(S().SubjectFacing() - Pi / 2); };
        k::AngleOfVector::answer = [](float x, float y) { return std::atan2(y, x); };
        k::NormaliseVector::answer = [](Vector3* v) {
            const float length = Length(*v);
            if (length > 0) *v = {v->x / length, v->y / length, v->z / length};
        };
        k::TransformPoint::answer = [](Vector3* out, const HostMatrix* m, const Vector3* p) {
            *out = {m->right.x * p->x + m->forward.x * p->y + m->up.x * p->z + m->position.x,
                    m->right.y * p->x + m->forward.y * p->y + m->up.y * p->z + m->position.y,
                    m->right.z * p->x + m->forward.z * p->y + m->up.z * p->z + m->position.z};
            return out;
        };
        k::LineOfSight::answer = [](const Vector3* a, const Vector3* b, HostColPoint* hit,
                                    HostEntity** hitEntity, bool, bool, bool, bool, bool, bool,
                                    bool) {
            const float t = FirstHit(S().scenario_.walls, *a, *b);
            SightTest test{*a, *b, t <= 1, {}};
            if (test.hit) {
                test.hitPosition = {a->x + (b->x - a->x) * t, a->y + (b->y - a->y) * t,
                                    a->z + (b->z - a->z) * t};
                hit->position = test.hitPosition;
                if (hitEntity) *hitEntity = nullptr;
            }
            F().sightTests.push_back(test);
            return test.hit;
        };
        k::CamPivotRoutine::answer = [](HostCamRecord*, const Vector3*) {
            S().pivotRoutineCalled_ = true;
        };
        k::CameraAimValue::answer = [](HostCameraObject*) { return 0.4f; };
        k::CameraStep::answer = [](HostCameraObject*) {
            // The host's camera step updates the active cam, which reaches the follow camera
            // of the player on foot or in the vehicle.
            Simulation& s = S();
            const uint32_t site = s.inputs_.inVehicle ? VehicleCameraSite : OnFootCameraSite;
            if (!s.CallsIntoPlugin(site)) return;
            EnterHostSite(site, Addr(&HostCam()),
                          {TargetPoint, Bits(s.SubjectFacing()), 0, 0});
        };
        k::MatrixSetHeading::answer = [](HostMatrix* matrix, float angle) {
            Simulation& s = S();
            if (matrix == &s.world_.character->entity.placement && !s.inputs_.inVehicle)
                s.inputs_.playerFacing = float(angle + Pi / 2);
        };
        k::CharacterReleaseLock::answer = [](HostCharacter* character) {
            character->targetLock = 0;
            character->lockedTarget = nullptr;
        };
        k::CharacterAcquireLock::answer = [](HostCharacter* character) {
            Simulation& s = S();
            character->targetLock = uint8_t(s.inputs_.lockFlag);
            character->lockedTarget = s.inputs_.hasTarget ? s.world_.other : nullptr;
        };
        k::PadRightStickX::answer = [](HostPad*) { return int32_t(S().inputs_.stickX); };
        k::PadRightStickY::answer = [](HostPad*) { return int32_t(S().inputs_.stickY); };
        k::PadAimHeld::answer = [](HostPad*) { return int32_t(S().inputs_.aim); };
        k::PadFireHeld::answer = [](HostPad*) { return int32_t(S().inputs_.fire); };
        k::PadFirePressed::answer = [](HostPad*) {
            return int32_t(S().inputs_.fire && !S().inputs_.firePrevious);
        };
        k::PadLockRequestA::answer = [](HostPad*) { return S().inputs_.lockRequest; };
        k::GetPad::answer = [](int32_t) { return &HostPad0(); };
    }

    template <class Host>
    static void Route() {
        using sim::gps::Colour;
        using sim::gps::Point2;
        using sim::gps::Point3;
        Host::GetPlayerVehicle::answer = [] {
            return S().inputs_.inVehicle ? Addr(S().world_.vehicle) : 0u;
        };
        Host::RouteSearch::answer = [](uint32_t, int32_t, float sx, float sy, float sz, int32_t,
                                       float dx, float dy, float dz, uint32_t* nodes,
                                       int16_t* count, int32_t room, uint32_t, int32_t, float,
                                       int32_t) {
            S().RouteSearch(sx, sy, sz, dx, dy, dz, nodes, count, room);
        };
        Host::WorldToRadar::answer = [](Point2* out, const Point3* world) {
            const Vector2 radar = S().WorldToRadar({world->x, world->y, world->z});
            *out = {radar.x, radar.y};
        };
        Host::RadarToScreen::answer = [](Point2* out, const Point2* in) {
            const Vector2 screen = RadarToScreen(S().scenario_, {in->x, in->y});
            *out = {screen.x, screen.y};
        };
        Host::QuadDepthQuery::answer = [] { return 0.5f; };
        Host::QuadSetup::answer = [](float x1, float y1, float x2, float y2, float x3, float y3,
                                     float x4, float y4, const Colour* c1, const Colour*,
                                     const Colour*, const Colour*) {
            DrawnQuad quad{{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}},
                           {c1->r, c1->g, c1->b, c1->a},
                           At<float>(DrawContext + 24),
                           S().inRadarFrame_,
                           false};
            F().quads.push_back(quad);
        };
        // On build 1.0 the crosshair draws through the same host routine.
        Host::SubmitVertices2D::answer = [](int32_t, uint32_t, int32_t) {
            if (S().drawer_ == Simulation::Drawer::Crosshair) F().crosshair = true;
            else if (!F().quads.empty()) F().quads.back().submitted = true;
        };
        Host::BlipColourQuery::answer = [](uint32_t value, uint32_t) {
            const std::vector<Blip>& blips = S().scenario_.blips;
            // The low byte is not a colour; the route guide ignores it.
            return value < blips.size() ? (blips[value].rgb << 8) | 0x5A : 0x5A;
        };
        Host::DrawRadarMarker::answer = [](float x, float y, int32_t, int32_t r, int32_t g,
                                           int32_t b, int32_t a) {
            F().marker = true;
            F().markerAt = {x, y};
            F().markerColour = {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)};
        };
        Host::RadarDrawStep::answer = [](uint32_t radar) {
            // The radar frame call lies inside the host's radar step.
            Simulation& s = S();
            s.inRadarFrame_ = true;
            s.EnterIfCalling(s.radarFrameSite_, radar, {});
            s.inRadarFrame_ = false;
            F().radarDrawn = true;
        };
        Host::ResetStep::answer = [](uint32_t) { return 1u; };
        Host::PlaySound::answer = [](uint32_t, int32_t, int32_t) { F().sound = true; };
        Host::TextFromAscii::answer = [](const char* text, uint16_t* buffer) {
            size_t i = 0;
            for (; text[i] != 0 && i < 129; ++i) buffer[i] = uint8_t(text[i]);
            buffer[i] = 0;
        };
        Host::TextPrint::answer = [](float x, float y, const uint16_t* buffer) {
            std::string text;
            for (size_t i = 0; buffer[i] != 0 && i < 129; ++i) text += char(buffer[i]);
            F().text = text;
            F().textAt = {x, y};
        };
    }
};

void Simulation::SetUpCameraHost() {
    PoseAsCameraBuild10();
    k::PlaceAllHostDoubles();
    world_ = k::BuildHostWorld();
    Answers::Camera();

    HostCameraObject& camera = HostCamera();
    camera.zoomStep = 2;
    camera.mouseSensitivityX = camera.mouseSensitivityY = 0.0025f;
    HostCam().target = &world_.character->entity;
    HostCam().mode = OnFootCamMode;
    HostCam().stateWord = 3;
    At<float>(HostHudScaleAddress) = 1;
    At<int32_t>(HostViewWidthAddress) = scenario_.screenWidth;
    At<int32_t>(HostViewHeightAddress) = scenario_.screenHeight;

    HostCharacter& character = *world_.character;
    character.entity.typeAndStatus = 3;
    character.state = 1;
    world_.vehicle->entity.typeAndStatus = HostEntityKindVehicle;
    world_.vehicleCol->boxMin = {-1.0f, -2.4f, -0.9f};
    world_.vehicleCol->boxMax = {1.0f, 2.4f, 0.9f};
}

template <class Host>
void Simulation::SetUpRouteHost() {
    Host::PlaceAllDoubles();
    Answers::Route<Host>();
    timeAddress_ = Host::TimeMs;
    areaAddress_ = Host::AreaNumber;
    radarDrawSite_ = Host::RadarDrawSite;
    radarFrameSite_ = Host::RadarFrameSite;
    resetSite_ = Host::ResetSite;
    At<uint32_t>(Host::DrawContextPointer) = DrawContext;
    At<float>(DrawContext + 24) = 0.5f;
    At<float>(Host::DepthOffset) = -0.001f;
    At<float>(Host::RouteWidthDivisor) = 350.0f;  // a route 4 pixels wide
    At<int32_t>(Host::ScreenExtentW) = scenario_.screenWidth;
    At<int32_t>(Host::ScreenExtentH) = scenario_.screenHeight;
    // Blips with a position of their own (kind 4), coloured through the colour query.
    for (size_t i = 0; i < scenario_.blips.size(); ++i) {
        const uint32_t record = Host::BlipTable + 48 * uint32_t(i);
        At<uint32_t>(record + 0) = uint32_t(i);
        At<uint32_t>(record + 4) = 4;
        At<float>(record + 20) = scenario_.blips[i].x;
        At<float>(record + 24) = scenario_.blips[i].y;
        At<float>(record + 28) = scenario_.blips[i].z;
        At<uint8_t>(record + 35) = 1;
    }
}

void Simulation::BuildRoads() {
    std::vector<Vector3>& nodes = run_.roadNodes;
    auto nodeAt = [&](float x, float y) {
        for (size_t i = 0; i < nodes.size(); ++i)
            if (std::fabs(nodes[i].x - x) < 0.01f && std::fabs(nodes[i].y - y) < 0.01f)
                return int(i);
        nodes.push_back({x, y, 0});
        links_.emplace_back();
        return int(nodes.size() - 1);
    };
    auto link = [&](int a, int b) {
        if (a == b) return;
        const float length = Length(Sub(nodes[a], nodes[b]));
        links_[a].push_back({b, length});
        links_[b].push_back({a, length});
        run_.roadLinks.push_back({a, b});
    };
    for (const Road& road : scenario_.roads) {
        int previous = nodeAt(road.xy[0], road.xy[1]);
        for (size_t i = 2; i < road.xy.size(); i += 2) {
            const float x0 = road.xy[i - 2], y0 = road.xy[i - 1];
            const float x1 = road.xy[i], y1 = road.xy[i + 1];
            const int parts = std::max(1, int(std::ceil(std::hypot(x1 - x0, y1 - y0) /
                                                         scenario_.nodeSpacing)));
            for (int part = 1; part <= parts; ++part) {
                const float f = float(part) / float(parts);
                const int node = nodeAt(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f);
                link(previous, node);
                previous = node;
            }
        }
    }
    for (size_t i = 0; i < nodes.size(); ++i)
        *Ptr<Vector3>(RoadNodes + uint32_t(i) * RoadNodeStride) = nodes[i];
}

// Each site whose host routine is known holds the host's own CALL to it, so that the host's
// code reaches the sandbox's double wherever no plug-in took the site over.
void Simulation::PrefillHostCalls() {
    for (const SiteInfo& site : DocumentedSites(scenario_.build)) {
        if (site.hostTarget == 0) continue;
        if (site.plugin == Plugin::Camera && scenario_.build != HostBuild::V10) continue;
        const std::vector<uint8_t> call = Rel32Bytes(0xE8, site.address, site.hostTarget);
        std::memcpy(Ptr<void>(site.address), call.data(), call.size());
    }
}

void Simulation::LoadGInput() {
    HMODULE module = LoadLibraryA(TestBinaryPath("GInputIII.asi").c_str());
    if (module == nullptr) return;
    auto block = reinterpret_cast<FakeGInputControlBlockFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "FakeGInputControlBlock")));
    if (block == nullptr) return;
    ginput_ = block();
    *ginput_ = FakeGInputControl{};
    ginput_->padActive = scenario_.ginput == Scenario::GInput::Active;
}

void Simulation::UnloadGInput() {
    // The camera plug-in keeps the reference it took; drop them all.
    while (HMODULE module = GetModuleHandleA("GInputIII.asi")) FreeLibrary(module);
}

void Simulation::CapturePatches(Plugin plugin, const HostSnapshot& before, size_t protectFrom) {
    // Each write the plug-in made under a protection change: (address, size), twice in a
    // row when the old protection was put back.
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    const auto& calls = Seam().protectCalls;
    for (size_t i = protectFrom; i < calls.size(); ++i) {
        const ProtectCall& call = calls[i];
        if (call.address < HostRangeBegin || call.address + call.size > HostRangeEnd) continue;
        ranges.push_back({call.address, call.size});
    }
    std::sort(ranges.begin(), ranges.end());
    ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());
    // An opcode byte and its displacement make one instruction.
    std::vector<std::pair<uint32_t, uint32_t>> writes;
    for (const auto& range : ranges) {
        if (!writes.empty() && writes.back().second == 1 && range.second == 4 &&
            range.first == writes.back().first + 1)
            writes.back().second = 5;
        else
            writes.push_back(range);
    }
    std::vector<bool> covered(HostRangeEnd - HostRangeBegin, false);
    for (const auto& [address, size] : writes) {
        PatchWrite write{plugin, address, {}, ReadBytes(address, size), true};
        for (uint32_t i = 0; i < size; ++i) {
            write.before.push_back(before.bytes[address + i - HostRangeBegin]);
            covered[address + i - HostRangeBegin] = true;
        }
        run_.patches.push_back(std::move(write));
    }
    for (const ChangedRange& change : ChangesSince(before)) {
        bool unprotected = false;
        for (uint32_t i = 0; i < change.after.size(); ++i)
            unprotected |= !covered[change.address + i - HostRangeBegin];
        if (unprotected)
            run_.patches.push_back({plugin, change.address, change.before, change.after, false});
    }
}

bool Simulation::LoadPlugins(std::string& error) {
    if (scenario_.ginput != Scenario::GInput::Absent) {
        LoadGInput();
        if (ginput_ == nullptr) {
            error = "cannot load the stand-in GInput (" + TestBinaryPath("GInputIII.asi") + ")";
            return false;
        }
    }
    auto load = [&](Plugin plugin, const std::optional<std::string>& ini) {
        LoadedModule module;
        module.plugin = plugin;
        const size_t boxesBefore = Seam().messageBoxes.size();
        const size_t protectFrom = Seam().protectCalls.size();
        const HostSnapshot before = SnapshotHost();
        plugins_.push_back(plugin == Plugin::Camera ? LoadCameraPlugin(ini) : LoadRouteGuide());
        const HMODULE handle = plugins_.back()->module();
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(handle);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
            reinterpret_cast<const uint8_t*>(handle) + dos->e_lfanew);
        module.base = Addr(handle);
        module.size = nt->OptionalHeader.SizeOfImage;
        module.loaded = true;
        for (size_t i = boxesBefore; i < Seam().messageBoxes.size(); ++i)
            module.messageBoxes.push_back(Seam().messageBoxes[i].caption + ": " +
                                          Seam().messageBoxes[i].text);
        run_.modules.push_back(module);
        CapturePatches(plugin, before, protectFrom);
    };
    try {
        if (scenario_.loadCamera) {
            std::ifstream shipped(DistPath("iii_kelvora.ini"), std::ios::binary);
            if (!shipped) {
                error = "cannot read " + DistPath("iii_kelvora.ini") + " (build the plug-ins first)";
                return false;
            }
            std::ostringstream ini;
            // The first occurrence of a key wins: the scenario's settings go first.
            for (const auto& [key, value] : scenario_.settings) ini << key << " = " << value << "\n";
            ini << shipped.rdbuf();
            load(Plugin::Camera, ini.str());
        }
        if (scenario_.loadRouteGuide) load(Plugin::RouteGuide, std::nullopt);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

void Simulation::PlaceCamera(float heading, float pitch) {
    HostCamRecord& cam = HostCam();
    const Vector3 at = Subject();
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float ch = std::cos(heading), sh = std::sin(heading);
    cam.pitch = pitch;
    cam.heading = heading;
    if (inputs_.inVehicle) {
        // The vehicle camera's heading points from the camera towards the pivot.
        cam.position = {at.x - 6 * cp * ch, at.y - 6 * cp * sh, at.z + 6 * sp + 1};
    } else {
        cam.position = {at.x + 2 * cp * ch, at.y + 2 * cp * sh, at.z + 2 * sp + 0.2f};
    }
    Vector3 front = Sub(at, cam.position);
    const float length = Length(front);
    cam.front = {front.x / length, front.y / length, front.z / length};
    inputs_.cameraPlaced = true;
}

void Simulation::Apply(const Step& step) {
    const std::string& c = step.command;
    const std::vector<double>& n = step.numbers;
    auto radians = [](double degrees) { return float(degrees * Pi / 180); };
    Inputs& in = inputs_;
    if (c == "dt") in.dt = int(n[0]);
    else if (c == "player") {
        in.inVehicle = false;
        in.player = {float(n[0]), float(n[1]), float(n[2])};
        in.playerFacing = radians(n[3]);
    } else if (c == "walk") {
        in.walkX = float(n[0]), in.walkY = float(n[1]);
        in.walkMeasure = n.size() > 2 ? float(n[2]) : -1;
    } else if (c == "vehicle") {
        in.inVehicle = true;
        in.vehicle = {float(n[0]), float(n[1]), float(n[2])};
        in.vehicleFacing = radians(n[3]);
        if (n.size() > 4) in.model = int(n[4]);
        in.speed = in.steer = 0;
    } else if (c == "drive") {
        in.speed = float(n[0]);
        in.driveMeasure = n.size() > 1 ? float(n[1]) : -1;
    } else if (c == "steer") in.steer = radians(n[0]);
    else if (c == "leave") {
        if (in.inVehicle) {
            in.inVehicle = false;
            in.player = {in.vehicle.x - 2 * std::sin(in.vehicleFacing),
                         in.vehicle.y + 2 * std::cos(in.vehicleFacing), in.vehicle.z};
            in.playerFacing = in.vehicleFacing;
            in.walkX = in.walkY = 0;
        }
    } else if (c == "camera") PlaceCamera(radians(n[0]), radians(n[1]));
    else if (c == "mouse") in.mouseX = float(n[0]), in.mouseY = float(n[1]);
    else if (c == "mousesens") in.sensitivityX = float(n[0]), in.sensitivityY = float(n[1]);
    else if (c == "stick") in.stickX = int(n[0]), in.stickY = int(n[1]);
    else if (c == "aim") in.aim = n[0] != 0;
    else if (c == "fire") in.fire = n[0] != 0;
    else if (c == "lockrequest") in.lockRequest = n[0] != 0;
    else if (c == "weapon") in.weapon = int(n[0]);
    else if (c == "target") {
        in.hasTarget = true;
        in.target = {float(n[0]), float(n[1]), float(n[2])};
    } else if (c == "lockflag") in.lockFlag = int(n[0]);
    else if (c == "zoom") in.zoom = float(n[0]);
    else if (c == "camstate") in.camState = int(n[0]);
    else if (c == "behind") in.behind = true;
    else if (c == "reset") in.reset = true;
    else if (c == "keys") {
        in.keys.clear();
        for (double code : n) in.keys.push_back(int(code));
    } else if (c == "area") in.area = int(n[0]);
    else if (c == "radar") {
        in.radarRange = float(n[0]);
        in.radarRotation = n.size() > 1 ? radians(n[1]) : 0;
    } else if (c == "ginput") {
        if (ginput_ != nullptr) ginput_->padActive = step.words[0] == "on";
    }
}

void SetPlacement(HostEntity& entity, Vector3 position, float facing) {
    HostMatrix& m = entity.placement;
    m.forward = {std::cos(facing), std::sin(facing), 0};
    m.right = {std::sin(facing), -std::cos(facing), 0};
    m.up = {0, 0, 1};
    m.position = position;
}

void Simulation::WriteWorld() {
    Inputs& in = inputs_;
    const bool build10 = scenario_.build == HostBuild::V10;
    HostVehicle& vehicle = *world_.vehicle;
    SetPlacement(vehicle.entity, in.vehicle, in.vehicleFacing);
    vehicle.entity.modelIndex = int16_t(in.model);
    vehicle.entity.movement = in.driveMeasure >= 0 ? in.driveMeasure : std::fabs(in.speed);
    if (build10) {
        reinterpret_cast<HostModelInfo**>(HostModelInfoTableAddress)[in.model] = world_.vehicleModel;
        HostCharacter& character = *world_.character;
        SetPlacement(character.entity, in.inVehicle ? in.vehicle : in.player, in.playerFacing);
        character.entity.movement =
            in.inVehicle ? 0
                         : in.walkMeasure >= 0 ? in.walkMeasure : std::hypot(in.walkX, in.walkY);
        character.weapons[0].type = in.weapon;
        character.currentWeaponSlot = 0;
        world_.other->placement.position = in.target;
        *Ptr<Vector3>(TargetPoint) = Subject();

        HostCameraObject& camera = HostCamera();
        camera.zoomStep = in.zoom;
        camera.mouseSensitivityX = in.sensitivityX;
        camera.mouseSensitivityY = in.sensitivityY;
        if (in.behind) camera.placeBehindRequest = 1;
        HostCamRecord& cam = HostCam();
        cam.target = in.inVehicle ? &vehicle.entity : &world_.character->entity;
        cam.mode = in.inVehicle ? VehicleCamMode : OnFootCamMode;
        cam.stateWord = in.camState;
        At<float>(HostMouseDeltaXAddress) = in.mouseX;
        At<float>(HostMouseDeltaYAddress) = in.mouseY;
    } else {
        // The route guide reads the vehicle's position only.
        vehicle.entity.placement.position = in.vehicle;
    }
    in.behind = false;
    At<int32_t>(timeAddress_) = timeMs_;
    At<int32_t>(areaAddress_) = in.area;
    Seam().keyStates.clear();
    for (int key : in.keys) Seam().keyStates[key] = int16_t(0xFF80);  // held
}

void Simulation::RecordCamera(FrameRecord& frame) {
    const HostCamRecord& cam = HostCam();
    frame.cameraPosition = cam.position;
    frame.pivot = cam.pivot;
    frame.front = cam.front;
    frame.pitch = cam.pitch;
    frame.heading = cam.heading;
    frame.fov = cam.fov;
    frame.handControlUntil = cam.handControlUntil;
    frame.lockFlag = world_.character->targetLock;
}

void Simulation::RunFrame() {
    Inputs& in = inputs_;
    run_.frames.emplace_back();
    FrameRecord& frame = run_.frames.back();
    frame_ = &frame;
    frame.frame = int(run_.frames.size());
    std::snprintf(activity, sizeof activity, "%s, frame %d", scenario_.file.c_str(), frame.frame);
    timeMs_ += in.dt;
    frame.timeMs = timeMs_;

    if (in.inVehicle) {
        in.vehicleFacing += in.steer;
        in.vehicle.x += in.speed * std::cos(in.vehicleFacing);
        in.vehicle.y += in.speed * std::sin(in.vehicleFacing);
    } else {
        in.player.x += in.walkX;
        in.player.y += in.walkY;
        if ((in.walkX != 0 || in.walkY != 0) && !in.aim) in.playerFacing = std::atan2(in.walkY, in.walkX);
    }
    if (!in.cameraPlaced && scenario_.build == HostBuild::V10)
        PlaceCamera(float(SubjectFacing() + (in.inVehicle ? 0 : Pi)), 0.17f);
    WriteWorld();
    frame.inVehicle = in.inVehicle;
    frame.subject = Subject();
    frame.mouseX = in.mouseX, frame.mouseY = in.mouseY;
    frame.stickX = in.stickX, frame.stickY = in.stickY;
    frame.aimHeld = in.aim;
    frame.keysHeld = in.keys;
    frame.radarRange = in.radarRange;

    if (in.reset) {
        EnterIfCalling(resetSite_, ResetObject, {});
        in.reset = false;
    }
    if (scenario_.build == HostBuild::V10) {
        // Camera processing: the host's camera step, through the aiming hook when it is in.
        HostCam().clearedA = 0xAA;
        pivotRoutineCalled_ = false;
        EnterIfCalling(AimingSite, HostCameraAddress, {});
        if (HostCam().clearedA == 0)
            frame.camera = in.inVehicle ? CameraRan::Vehicle
                                        : pivotRoutineCalled_ ? CameraRan::Aim : CameraRan::Follow;
        if (!in.inVehicle) EnterIfCalling(PlayerUpdateSite, Addr(world_.character), {});
        drawer_ = Drawer::Crosshair;
        EnterIfCalling(CrosshairSite, 0, {});
        drawer_ = Drawer::Radar;
        RecordCamera(frame);
    }
    EnterIfCalling(radarDrawSite_, RadarObject, {});
    frame.subjectFacing = SubjectFacing();
    in.firePrevious = in.fire;
    frame_ = &scratchFrame_;
    TallyCalls();
}

void Simulation::TallyCalls() {
    for (uint32_t address : CallLog()) {
        std::string name = HostRoutineName(scenario_.build, address);
        if (name.empty()) {
            char text[16];
            std::snprintf(text, sizeof text, "0x%06X", address);
            name = text;
        }
        ++run_.hostCalls[name];
    }
    CallLog().clear();
}

bool Simulation::Run(std::string& error, const Progress& progress) {
    UnloadGInput();
    ResetHostMemory();
    ResetSeam();
    CallLog().clear();
    Recording = true;
    frame_ = &scratchFrame_;
    run_.scenario = &scenario_;

    if (scenario_.build == HostBuild::V10) {
        At<uint32_t>(0x60F428) = 0x6B636F52;  // "Rock"
        SetUpCameraHost();
        SetUpRouteHost<sim::gps::Build10>();
    } else {
        At<uint32_t>(0x60F428) = 0x49535049;  // "IPSI"
        world_ = k::BuildHostWorld();
        SetUpRouteHost<sim::gps::Build11>();
    }
    BuildRoads();
    PrefillHostCalls();
    std::snprintf(activity, sizeof activity, "%s, loading the plug-ins", scenario_.file.c_str());
    if (!LoadPlugins(error)) return false;
    CallLog().clear();  // calls made while attaching are not the frames'

    const size_t protectBefore = Seam().protectCalls.size();
    int done = 0;
    for (const Step& step : scenario_.steps) {
        if (step.command != "frame") {
            Apply(step);
            continue;
        }
        for (int i = 0; i < int(step.numbers[0]); ++i) {
            RunFrame();
            if (progress) progress(++done, scenario_.frameCount);
        }
    }
    // Each write changes the protection and puts it back: two calls.
    const auto& calls = Seam().protectCalls;
    for (size_t i = protectBefore; i < calls.size(); ++i)
        if (calls[i].address >= HostRangeBegin && calls[i].address < HostRangeEnd)
            ++run_.runtimeWrites[calls[i].address];
    for (auto& entry : run_.runtimeWrites) entry.second = (entry.second + 1) / 2;
    if (scenario_.loadCamera && scenario_.build != HostBuild::V10)
        run_.notes.push_back("the camera plug-in supports build 1.0 only; its sites are not driven");
    return true;
}

}  // namespace

const char* SandboxActivity() { return activity; }

Vector2 RadarToScreen(const Scenario& scenario, Vector2 radar) {
    return {scenario.radarCentreX + radar.x * scenario.radarHalfSize,
            scenario.radarCentreY - radar.y * scenario.radarHalfSize};
}

Vector2 ScreenToRadar(const Scenario& scenario, Vector2 screen) {
    return {(screen.x - scenario.radarCentreX) / scenario.radarHalfSize,
            (scenario.radarCentreY - screen.y) / scenario.radarHalfSize};
}

bool RunScenario(const Scenario& scenario, ScenarioRun& run, std::string& error,
                 const Progress& progress) {
    run = ScenarioRun{};
    Simulation simulation(scenario, run);
    return simulation.Run(error, progress);
}

}  // namespace sandbox
