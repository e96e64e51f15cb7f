// The route guide's busiest frame: a 200-node route entirely inside the radar, in a fixed
// category (so the marker is drawn as well), with the mask drawn inside the radar step as
// the host does it. The host doubles answer at once.
#include <cstdio>

#include "tests/bench/frame_bench.h"
#include "tests/route_guide/gps_host.h"

namespace {

using namespace sim;
using namespace sim::gps;
using Host = Build10;

constexpr uint32_t VehicleAt = ScratchData + 0x5000;
constexpr uint32_t DrawContextAt = ScratchData + 0x5400;
constexpr uint32_t RadarDrawThis = ScratchData + 0x5500;
constexpr uint32_t RadarFrameThis = ScratchData + 0x5540;
constexpr uint32_t NodesAt = ScratchData + 0x8000;
constexpr int NodeCount = 200;

bench::Registration fullRoute("route guide: 200-node route", [] {
    PokeBytes(Host::SignatureAddress, {0x52, 0x6F, 0x63, 0x6B});  // "Rock"
    Host::PlaceAllDoubles();
    At<uint32_t>(Host::TimeMs) = 10000;
    At<int32_t>(Host::AreaNumber) = 1;
    At<float>(Host::RouteWidthDivisor) = 350.0f;
    At<int32_t>(Host::ScreenExtentW) = 640;
    At<int32_t>(Host::ScreenExtentH) = 480;
    At<float>(Host::DepthOffset) = 0.25f;
    At<uint32_t>(Host::DrawContextPointer) = DrawContextAt;

    // A zigzag across the radar's centre, every node within radius 1.2.
    for (int i = 0; i < NodeCount; ++i)
        At<Point3>(NodesAt + 12 * uint32_t(i)) = {-0.8f + 0.008f * float(i),
                                                  i % 2 ? 0.05f : -0.05f, 0.0f};

    Host::GetPlayerVehicle::answer = [] { return VehicleAt; };
    Host::RadarDrawStep::answer = [](uint32_t) {
        EnterHostSite(Host::RadarFrameSite, RadarFrameThis, {});
    };
    Host::WorldToRadar::answer = [](Point2* radar, const Point3* world) {
        // The destination lies near the centre, the nodes where they are.
        *radar = world->x > 1000.0f ? Point2{0.1f, 0.1f} : Point2{world->x, world->y};
    };
    Host::RadarToScreen::answer = [](Point2* screen, const Point2* radar) {
        const Point2 in = *radar;
        *screen = {320.0f + 100.0f * in.x, 240.0f - 100.0f * in.y};
    };
    Host::RouteSearch::answer = [](uint32_t, int32_t, float, float, float, int32_t, float, float,
                                   float, uint32_t* nodes, int16_t* nodeCount, int32_t, uint32_t,
                                   int32_t, float, int32_t) {
        for (int i = 0; i < NodeCount; ++i) nodes[i] = NodesAt + 12 * uint32_t(i);
        *nodeCount = NodeCount;
    };

    std::shared_ptr<LoadedPlugin> plugin = LoadRouteGuide();
    // Hospital, then past the status text's two seconds.
    Seam().keyStates[VK_MENU] = KeyHeld;
    Seam().keyStates[VK_NUMPAD5] = KeyHeld;
    EnterHostSite(Host::RadarDrawSite, RadarDrawThis, {});
    Seam().keyStates.clear();
    if (Host::QuadSetup::calls.size() != 4 + NodeCount - 1 || Host::DrawRadarMarker::calls.empty())
        std::printf("route guide: the frame did not draw the mask, 199 segments and the marker\n");
    At<uint32_t>(Host::TimeMs) = 20000;

    return std::function<void()>(
        [plugin] { EnterHostSite(Host::RadarDrawSite, RadarDrawThis, {}); });
});

}  // namespace
