// Where the route goes this frame and in which colour.
#pragma once

#include <cstdint>

#include "route_guide/host_bindings.h"

struct RouteTarget {
    const Vector3* position;  // null: no destination this frame
    Rgba colour;              // alpha 255 with a destination, all 0 without
};

// The destination of the current mode: the nearest radar blip in Default, the fixed point
// of the category for the map area otherwise. vehicle is never null.
RouteTarget SelectRouteTarget(const HostPlacedObject* vehicle, int32_t area);
