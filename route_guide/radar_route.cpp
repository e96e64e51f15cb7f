#include "route_guide/radar_route.h"

#include <algorithm>

#include "route_guide/angle_math.h"
#include "route_guide/guide_state.h"

RouteBuffer Route{};

namespace {

constexpr float RouteSearchBound = 999999.0f;
constexpr double RouteWidthNumerator = 1400.0;
constexpr double QuarterTurn = 1.5707963;  // as the band has always been built
const SineCosine QuarterTurnTrig = SinCos(QuarterTurn);
const SineCosine MinusQuarterTurnTrig{-QuarterTurnTrig.sine, QuarterTurnTrig.cosine};
constexpr double SegmentRadiusSquared = 1.44;
constexpr float MarkerRadiusSquared = 1.0f;
constexpr int32_t MarkerKind = 3;

constexpr int32_t DrawStateTexture = 1;
constexpr int32_t SecondaryState = 25;
constexpr int32_t SecondaryStateValue = 5;

// A segment is drawn when one end lies within radius 1.2 of the radar's centre; the sum
// is taken in 32-bit floats, so (1.2, 0) lies outside.
bool IsNearRadar(Vector2 radar) {
    const float distanceSquared = radar.x * radar.x + radar.y * radar.y;
    return double(distanceSquared) <= SegmentRadiusSquared;
}

void DrawQuad(const float (&corners)[8], const Rgba* colour) {
    HostQuadSetup(corners[0], corners[1], corners[2], corners[3], corners[4], corners[5],
                  corners[6], corners[7], colour, colour, colour, colour);
    HostSubmitVertices2D();
}

// Transparent quads over the whole screen but the radar's square: with the host's depth
// test they hide the route wherever it leaves the radar.
void DrawRadarMask() {
    HostDrawStateSet(DrawStateTexture, 0);
    Vector2 topRight{1.0f, 1.0f};
    HostRadarToScreen(&topRight);
    Vector2 bottomLeft{-1.0f, -1.0f};
    HostRadarToScreen(&bottomLeft);
    static constexpr Rgba Clear{0, 0, 0, 0};
    const float w = float(HostVariable<int32_t>(Bindings.HostScreenExtentW));
    const float h = float(HostVariable<int32_t>(Bindings.HostScreenExtentH));
    const Vector2 a = topRight, b = bottomLeft;
    const float quads[4][8] = {
        {b.x, h, b.x, 0.0f, 0.0f, h, 0.0f, 0.0f},  // left of the radar
        {a.x, a.y, a.x, 0.0f, b.x, a.y, b.x, 0.0f},  // above it
        {a.x, h, a.x, b.y, b.x, h, b.x, b.y},        // below it
        {w, h, w, 0.0f, a.x, h, a.x, 0.0f},          // right of it
    };
    for (const auto& quad : quads) DrawQuad(quad, &Clear);
}

}  // namespace

void DrawRouteSegment(Vector2 a, Vector2 b, float width, Rgba colour) {
    const float half = width * 0.5f;
    // The direction rounded to a float; the normals a quarter turn either side of it.
    const double direction =
        float(Atan2(double(b.y) - double(a.y), double(b.x) - double(a.x)));
    const SineCosine along = SinCos(direction);
    const SineCosine normal1 = SinCosOfSum(direction, along, -QuarterTurn, MinusQuarterTurnTrig);
    const SineCosine normal2 = SinCosOfSum(direction, along, QuarterTurn, QuarterTurnTrig);
    const Vector2 u1{float(normal1.cosine * half), float(normal1.sine * half)};
    const Vector2 u2{float(normal2.cosine * half), float(normal2.sine * half)};
    const float corners[8] = {a.x + u2.x, a.y + u2.y, b.x + u2.x, b.y + u2.y,
                              a.x + u1.x, a.y + u1.y, b.x + u1.x, b.y + u1.y};

    // Built at the host's depth plus the offset: behind the mask, which hides them off the
    // radar. Drawn at the host's own depth again.
    HostDrawContext* context = HostDrawContextObject();
    const float depth = HostQuadDepthQuery();
    context->quadDepth = HostVariable<float>(Bindings.HostDepthOffset) + depth;
    HostQuadSetup(corners[0], corners[1], corners[2], corners[3], corners[4], corners[5],
                  corners[6], corners[7], &colour, &colour, &colour, &colour);
    context->quadDepth = depth;
    HostSubmitVertices2D();
}

void DrawRoute(int count, float width, Rgba colour) {
    HostDrawStateSet(DrawStateTexture, 0);
    // Each node is converted to radar space once and to the screen at most once; the
    // radius test uses the radar position taken before any conversion to the screen.
    Vector2* points = Route.points;
    HostWorldToRadar(&points[0], Route.nodes[0]);
    bool previousNear = IsNearRadar(points[0]);
    bool previousOnScreen = false;
    for (int i = 1; i < count; ++i) {
        HostWorldToRadar(&points[i], Route.nodes[i]);
        const bool near = IsNearRadar(points[i]);
        const bool drawn = previousNear || near;
        if (drawn) {
            if (!previousOnScreen) HostRadarToScreen(&points[i - 1]);
            HostRadarToScreen(&points[i]);
            DrawRouteSegment(points[i - 1], points[i], width, colour);
        }
        previousNear = near;
        previousOnScreen = drawn;
    }
}

void DrawTargetMarker(const RouteTarget& target) {
    Vector2 point;
    HostWorldToRadar(&point, target.position);
    if (point.x * point.x + point.y * point.y >= MarkerRadiusSquared) return;
    HostRadarToScreen(&point);
    HostDrawRadarMarker(point.x, point.y, MarkerKind, target.colour.red, target.colour.green,
                        target.colour.blue, 0xFF);
}

void __thiscall RadarFrameHook(void* self) {
    HostRadarFrameStep(self);
    if (Guide.mode != GpsMode::Disabled) DrawRadarMask();
    HostSecondaryStateSet(SecondaryState, SecondaryStateValue);
}

void __thiscall RadarDrawHook(void* self) {
    HostRadarDrawStep(self);  // RadarFrameHook draws the mask inside this call
    HostPlacedObject* vehicle = HostGetPlayerVehicle();
    if (vehicle == nullptr) return;  // on foot: no hotkeys, no drawing
    PollHotkeys();
    if (Guide.mode == GpsMode::Disabled) return;
    const RouteTarget target = SelectRouteTarget(vehicle, ReadHostAreaNumber());
    if (target.position == nullptr) return;

    const Vector3 start = vehicle->position;
    const Vector3 end = *target.position;
    HostRouteSearch(0, start.x, start.y, start.z, -1, end.x, end.y, end.z, Route.nodes,
                    &Route.nodeCount, RouteNodeRoom, vehicle, 0, RouteSearchBound, -1);
    const int16_t nodeCount = Route.nodeCount;
    if (nodeCount > 1) {
        const float width = float(
            RouteWidthNumerator / double(HostVariable<float>(Bindings.HostRouteWidthDivisor)));
        // The host may report more nodes than nodes can hold; draw only those held.
        DrawRoute(std::min<int>(nodeCount, RouteNodeRoom), width, target.colour);
    }
    if (Guide.mode != GpsMode::Default) DrawTargetMarker(target);
}
