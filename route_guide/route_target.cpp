#include "route_guide/route_target.h"

#include <iterator>

#include "route_guide/guide_state.h"

namespace {

constexpr int AreaCount = 3;

struct FixedCategory {
    Vector3 byArea[AreaCount];  // map areas 1 to 3
    bool presentInArea[AreaCount];
    Rgba colour;
};

// Indexed by GpsMode - 1, Safehouse to FireStation.
constexpr FixedCategory FixedCategories[] = {
    {{{888.5625f, -308.375f, 8.6157f},
      {102.986f, -482.0966f, 15.9284f},
      {-665.4944f, 2.6482f, 18.9413f}},
     {true, true, true},
     {0x81, 0x7A, 0xB0, 0xFF}},
    {{{925.4008f, -354.1194f, 10.8415f},
      {375.325f, -493.7094f, 26.1748f},
      {-1138.3365f, 34.6745f, 58.8237f}},
     {true, true, true},
     {0xB1, 0xC7, 0x00, 0xFF}},
    {{{1065.6227f, -395.2242f, 14.9727f}, {351.9858f, -711.2619f, 26.1681f}, {}},
     {true, true, false},  // no Ammu-Nation in area 3
     {0xC0, 0x3C, 0x61, 0xFF}},
    {{{1281.9111f, -99.5585f, 14.7837f},
      {375.7814f, -576.8163f, 26.1748f},
      {-1082.2286f, 59.0901f, 58.6068f}},
     {true, true, true},
     {0x34, 0x8C, 0x73, 0xFF}},
    {{{1144.25f, -596.875f, 14.9144f},
      {185.9603f, -22.5466f, 16.2168f},
      {-1252.5568f, -145.3662f, 58.7841f}},
     {true, true, true},
     {0x00, 0x96, 0xD9, 0xFF}},
    {{{1143.875f, -675.1875f, 14.9727f},
      {341.4585f, -1137.1821f, 22.9809f},
      {-1258.9365f, -45.0972f, 58.8871f}},
     {true, true, true},
     {0xC8, 0xD8, 0xEF, 0xFF}},
    {{{1111.663f, -44.9626f, 7.4925f},
      {-76.7527f, -435.435f, 16.1798f},
      {-840.2806f, -458.3479f, 11.1182f}},
     {true, true, true},
     {0xEB, 0x69, 0x0B, 0xFF}},
};
static_assert(std::size(FixedCategories) == int(GpsMode::FireStation));

constexpr RouteTarget NoTarget{nullptr, {0, 0, 0, 0}};

// Farther than this no blip is taken (9999800320 as a 32-bit float).
constexpr float FarthestBlipDistanceSquared = 9.9998e9f;

Vector3 nearestBlipPosition{0.0f, 0.0f, 0.0f};

// Where a blip is: at the object it follows (kinds 1 to 3) or at its own position.
// False when the object is gone.
bool FindBlipPosition(const HostBlip& blip, Vector3& position) {
    const HostPlacedObject* object;
    switch (blip.kind) {
        case 1:
            object = HostHandleToObject1(blip.handle);
            break;
        case 2: {
            const HostPool2Object* pooled = HostHandleToObject2(blip.handle);
            if (pooled == nullptr) return false;
            object = pooled->usesStandIn ? pooled->standIn : &pooled->placed;
            break;
        }
        case 3:
            object = HostHandleToObject3(blip.handle);
            break;
        default:
            position = blip.position;
            return true;
    }
    if (object == nullptr) return false;
    position = object->position;
    return true;
}

// The blip nearest to the vehicle in three dimensions; equal distances keep the earlier.
RouteTarget NearestBlipTarget(const HostPlacedObject* vehicle) {
    const Vector3 v = vehicle->position;
    const HostBlip* blips = HostBlips();
    const HostBlip* chosen = nullptr;
    float best = FarthestBlipDistanceSquared;
    for (int index = 0; index < HostBlipCount; ++index) {
        const HostBlip& blip = blips[index];
        if (blip.inUse == 0 || blip.hidden != 0) continue;
        Vector3 p;
        if (!FindBlipPosition(blip, p)) continue;
        const float dz = v.z - p.z, dy = v.y - p.y, dx = v.x - p.x;
        const float distanceSquared = dz * dz + dy * dy + dx * dx;
        if (distanceSquared < best) {
            best = distanceSquared;
            nearestBlipPosition = p;
            chosen = &blip;
        }
    }
    if (chosen == nullptr) return NoTarget;
    const uint32_t colour = HostBlipColourQuery(chosen->colourId, chosen->brightness);
    return {&nearestBlipPosition,
            {uint8_t(colour >> 24), uint8_t(colour >> 16), uint8_t(colour >> 8), 0xFF}};
}

}  // namespace

RouteTarget SelectRouteTarget(const HostPlacedObject* vehicle, int32_t area) {
    const GpsMode mode = Guide.mode;
    if (mode == GpsMode::Default) return NearestBlipTarget(vehicle);
    if (mode < GpsMode::Safehouse || mode > GpsMode::FireStation) return NoTarget;
    // Only areas 1 to 3 have fixed points; any other value has no destination.
    if (area < 1 || area > AreaCount) return NoTarget;
    const FixedCategory& category = FixedCategories[int(mode) - 1];
    if (!category.presentInArea[area - 1]) return NoTarget;
    return {&category.byArea[area - 1], category.colour};
}
