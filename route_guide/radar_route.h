// The route guide's frame on the host's radar: the mask around the radar, the route band
// from the player's vehicle to the destination and the destination marker.
#pragma once

#include <cstdint>

#include "route_guide/host_bindings.h"
#include "route_guide/route_target.h"

constexpr int RouteNodeRoom = 200;

// Filled by the host's route search every frame.
struct RouteBuffer {
    HostPathNode* nodes[RouteNodeRoom];
    int16_t nodeCount;
    Vector2 points[RouteNodeRoom];  // radar space, then screen, of each node this frame
};

extern RouteBuffer Route;

// Entered from the host's radar draw call, once per frame, on the object the host passes.
void __thiscall RadarDrawHook(void* self);
// Entered from the host's radar frame call, inside HostRadarDrawStep.
void __thiscall RadarFrameHook(void* self);

// Draws the route through the first count nodes (at least 2) as a band of width pixels.
void DrawRoute(int count, float width, Rgba colour);
// One quad of the band, centred on the screen line from a to b.
void DrawRouteSegment(Vector2 a, Vector2 b, float width, Rgba colour);
// Marks the destination when it lies inside the radar's disc.
void DrawTargetMarker(const RouteTarget& target);
