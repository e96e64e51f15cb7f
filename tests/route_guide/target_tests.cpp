// Where the route goes: the fixed points of each category and area, and the nearest radar
// blip in Default. Read from the destination the host's route search is asked for and the
// colour the route is drawn in.
#include "tests/route_guide/gps_host.h"

namespace {

using namespace sim;
using namespace sim::gps;

template <class Host>
class TargetTest : public GuideTest<Host> {
protected:
    void SetUp() override {
        GuideTest<Host>::SetUp();
        // A short route near the radar's centre, so the colour shows on a quad.
        this->SetRoute({{0.0f, 0.0f}, {0.5f, 0.0f}});
    }

    bool Searched() { return !Host::RouteSearch::calls.empty(); }
    Point3 Destination() {
        const auto& call = Host::RouteSearch::calls.at(0);
        return {std::get<6>(call), std::get<7>(call), std::get<8>(call)};
    }
    Colour RouteColour() { return this->quads.at(0).colours[0]; }

    // One frame with the blips as set; Default mode.
    void BlipFrame() {
        this->Forget();
        this->Frame();
    }
    void ExpectDestination(Point3 expected) {
        ASSERT_TRUE(Searched());
        const Point3 got = Destination();
        EXPECT_EQ(got.x, expected.x);
        EXPECT_EQ(got.y, expected.y);
        EXPECT_EQ(got.z, expected.z);
    }
};
TYPED_TEST_SUITE(TargetTest, Builds, BuildName);

struct FixedCase {
    int mode;
    int32_t area;
    Point3 destination;
    Colour colour;
};

const FixedCase FixedCases[] = {
    {Safehouse, 1, {888.5625f, -308.375f, 8.6157f}, {0x81, 0x7A, 0xB0, 0xFF}},
    {Safehouse, 2, {102.986f, -482.0966f, 15.9284f}, {0x81, 0x7A, 0xB0, 0xFF}},
    {Safehouse, 3, {-665.4944f, 2.6482f, 18.9413f}, {0x81, 0x7A, 0xB0, 0xFF}},
    {PayNSpray, 1, {925.4008f, -354.1194f, 10.8415f}, {0xB1, 0xC7, 0x00, 0xFF}},
    {PayNSpray, 2, {375.325f, -493.7094f, 26.1748f}, {0xB1, 0xC7, 0x00, 0xFF}},
    {PayNSpray, 3, {-1138.3365f, 34.6745f, 58.8237f}, {0xB1, 0xC7, 0x00, 0xFF}},
    {AmmuNation, 1, {1065.6227f, -395.2242f, 14.9727f}, {0xC0, 0x3C, 0x61, 0xFF}},
    {AmmuNation, 2, {351.9858f, -711.2619f, 26.1681f}, {0xC0, 0x3C, 0x61, 0xFF}},
    {BombShop, 1, {1281.9111f, -99.5585f, 14.7837f}, {0x34, 0x8C, 0x73, 0xFF}},
    {BombShop, 2, {375.7814f, -576.8163f, 26.1748f}, {0x34, 0x8C, 0x73, 0xFF}},
    {BombShop, 3, {-1082.2286f, 59.0901f, 58.6068f}, {0x34, 0x8C, 0x73, 0xFF}},
    {Hospital, 1, {1144.25f, -596.875f, 14.9144f}, {0x00, 0x96, 0xD9, 0xFF}},
    {Hospital, 2, {185.9603f, -22.5466f, 16.2168f}, {0x00, 0x96, 0xD9, 0xFF}},
    {Hospital, 3, {-1252.5568f, -145.3662f, 58.7841f}, {0x00, 0x96, 0xD9, 0xFF}},
    {Police, 1, {1143.875f, -675.1875f, 14.9727f}, {0xC8, 0xD8, 0xEF, 0xFF}},
    {Police, 2, {341.4585f, -1137.1821f, 22.9809f}, {0xC8, 0xD8, 0xEF, 0xFF}},
    {Police, 3, {-1258.9365f, -45.0972f, 58.8871f}, {0xC8, 0xD8, 0xEF, 0xFF}},
    {FireStation, 1, {1111.663f, -44.9626f, 7.4925f}, {0xEB, 0x69, 0x0B, 0xFF}},
    {FireStation, 2, {-76.7527f, -435.435f, 16.1798f}, {0xEB, 0x69, 0x0B, 0xFF}},
    {FireStation, 3, {-840.2806f, -458.3479f, 11.1182f}, {0xEB, 0x69, 0x0B, 0xFF}},
};

TYPED_TEST(TargetTest, EachCategoryHasItsFixedPointPerAreaAndItsColour) {
    // A blip right beside the vehicle must not matter outside Default.
    this->SetBlip(0, {.own = {1.0f, 0.0f, 0.0f}});
    for (const FixedCase& c : FixedCases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " area " << c.area);
        this->SetArea(c.area);
        this->SelectMode(c.mode);
        this->Frame();
        this->ExpectDestination(c.destination);
        ASSERT_EQ(this->quads.size(), 1u);
        EXPECT_EQ(this->RouteColour(), c.colour);
        EXPECT_TRUE(TypeParam::BlipColourQuery::calls.empty());
    }
}

TYPED_TEST(TargetTest, NoFixedPointWithoutAnAreaOfTheTables) {
    using Host = TypeParam;
    struct Case {
        int mode;
        int32_t area;
    };
    // Area 3 has no Ammu-Nation; areas outside 1 to 3 have no fixed points at all.
    std::vector<Case> cases = {{AmmuNation, 3}};
    for (int mode = Safehouse; mode <= FireStation; ++mode)
        for (int32_t area : {0, 4, -1, 0x7FFFFFFF, int32_t(0x80000000)})
            cases.push_back({mode, area});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " area " << c.area);
        this->SetArea(c.area);
        this->SelectMode(c.mode);
        const SiteResult result = this->Frame();
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_FALSE(this->Searched());
        EXPECT_TRUE(this->quads.empty());
        EXPECT_TRUE(Host::DrawRadarMarker::calls.empty());
        EXPECT_TRUE(Host::WorldToRadar::calls.empty());
    }
}

TYPED_TEST(TargetTest, DefaultFollowsTheNearestBlipWhateverTheArea) {
    this->SetBlip(4, {.own = {3.0f, 4.0f, 5.0f}});
    for (int32_t area : {1, 3, 0, 7}) {
        this->SetArea(area);
        this->BlipFrame();
        this->ExpectDestination({3.0f, 4.0f, 5.0f});
    }
}

TYPED_TEST(TargetTest, NearestBlipWinsAndTiesKeepTheLowerIndex) {
    this->SetVehiclePosition({10.0f, 20.0f, 30.0f});
    this->SetBlip(2, {.kind = 0, .own = {50.0f, 20.0f, 30.0f}, .colourId = 1});  // d = 1600
    this->SetBlip(3, {.kind = 0, .own = {13.0f, 20.0f, 30.0f}, .colourId = 2});  // d = 9
    this->SetBlip(5, {.kind = 7, .own = {7.0f, 20.0f, 30.0f}, .colourId = 3});   // d = 9
    this->SetBlip(9, {.kind = 4, .own = {10.0f, 23.0f, 30.0f}, .colourId = 4});  // d = 9
    this->BlipFrame();
    this->ExpectDestination({13.0f, 20.0f, 30.0f});
    ASSERT_EQ(TypeParam::BlipColourQuery::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(TypeParam::BlipColourQuery::calls[0]), 2u);

    // A nearer blip later in the table wins.
    this->SetBlip(31, {.own = {10.0f, 20.0f, 32.0f}, .colourId = 5});  // d = 4
    this->BlipFrame();
    this->ExpectDestination({10.0f, 20.0f, 32.0f});
}

TYPED_TEST(TargetTest, DistanceCountsHeightToo) {
    // Straight above by 100 is 10000 away, not 0.
    this->SetBlip(0, {.own = {0.0f, 0.0f, 100.0f}});
    this->SetBlip(1, {.own = {99.5f, 0.0f, 0.0f}});  // 9900.25
    this->BlipFrame();
    this->ExpectDestination({99.5f, 0.0f, 0.0f});
    this->SetBlip(1, {.own = {100.5f, 0.0f, 0.0f}});  // 10100.25
    this->BlipFrame();
    this->ExpectDestination({0.0f, 0.0f, 100.0f});
}

TYPED_TEST(TargetTest, BlipsBeyondTheSearchLimitAreNotTaken) {
    this->SetBlip(0, {.own = {100000.0f, 0.0f, 0.0f}});  // 1e10 > 9999800320
    this->BlipFrame();
    EXPECT_FALSE(this->Searched());
    this->SetBlip(0, {.own = {99990.0f, 0.0f, 0.0f}});
    this->BlipFrame();
    this->ExpectDestination({99990.0f, 0.0f, 0.0f});
}

TYPED_TEST(TargetTest, UnusedHiddenAndVanishedBlipsAreSkipped) {
    using Host = TypeParam;
    const uint32_t kept = this->PlaceObject(0, {1.0f, 1.0f, 1.0f});
    this->objectsByHandle[1][77] = kept;
    struct Case {
        const char* name;
        Blip blip;
    };
    const Case cases[] = {
        {"not in use", {.own = {1.0f, 0.0f, 0.0f}, .inUse = 0}},
        {"hidden", {.own = {1.0f, 0.0f, 0.0f}, .hidden = 1}},
        {"hidden high byte", {.own = {1.0f, 0.0f, 0.0f}, .hidden = 0x100}},
        {"kind 1 gone", {.kind = 1, .handle = 5}},
        {"kind 2 gone", {.kind = 2, .handle = 5}},
        {"kind 3 gone", {.kind = 3, .handle = 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Alone: no destination at all.
        this->SetBlip(0, c.blip);
        this->SetBlip(1, {.inUse = 0});
        this->BlipFrame();
        EXPECT_FALSE(this->Searched());
        EXPECT_TRUE(this->quads.empty());
        // Beside a farther blip that counts: the farther one is taken.
        this->SetBlip(1, {.kind = 1, .handle = 77});
        this->BlipFrame();
        this->ExpectDestination({1.0f, 1.0f, 1.0f});
    }
    EXPECT_FALSE(Host::HandleToObject1::calls.empty());
}

TYPED_TEST(TargetTest, FollowedObjectsComeFromTheirOwnPools) {
    using Host = TypeParam;
    struct Case {
        int32_t kind;
        uint32_t pool;
    };
    const Case cases[] = {{1, this->Pool1At}, {2, this->Pool2At}, {3, this->Pool3At}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        for (auto& pool : this->objectsByHandle) pool.clear();
        const uint32_t object = this->PlaceObject(c.kind, {float(c.kind), 2.0f, 3.0f});
        this->objectsByHandle[c.kind][40 + c.kind] = object;
        this->SetBlip(0, {.kind = c.kind, .handle = 40 + c.kind, .own = {9.0f, 9.0f, 9.0f}});
        this->BlipFrame();
        this->ExpectDestination({float(c.kind), 2.0f, 3.0f});
        const size_t lookups = Host::HandleToObject1::calls.size() +
                               Host::HandleToObject2::calls.size() +
                               Host::HandleToObject3::calls.size();
        EXPECT_EQ(lookups, 1u);
        const auto check = [&](const auto& calls) {
            if (calls.empty()) return;
            EXPECT_EQ(std::get<0>(calls[0]), c.pool);
            EXPECT_EQ(std::get<1>(calls[0]), 40 + c.kind);
        };
        check(Host::HandleToObject1::calls);
        check(Host::HandleToObject2::calls);
        check(Host::HandleToObject3::calls);
    }
}

TYPED_TEST(TargetTest, APool2ObjectMayStandForAnother) {
    const uint32_t follower = this->PlaceObject(0, {5.0f, 0.0f, 0.0f});
    const uint32_t leader = this->PlaceObject(1, {-6.0f, 0.0f, 0.0f});
    this->objectsByHandle[2][9] = follower;
    this->SetBlip(0, {.kind = 2, .handle = 9});

    this->SetStandIn(follower, leader, 1);
    this->BlipFrame();
    this->ExpectDestination({-6.0f, 0.0f, 0.0f});

    this->SetStandIn(follower, leader, 0);
    this->BlipFrame();
    this->ExpectDestination({5.0f, 0.0f, 0.0f});

    // Standing for nothing: the blip is skipped.
    this->SetStandIn(follower, 0, 1);
    this->SetBlip(1, {.own = {50.0f, 0.0f, 0.0f}});
    this->BlipFrame();
    this->ExpectDestination({50.0f, 0.0f, 0.0f});
}

TYPED_TEST(TargetTest, BlipColourComesFromTheHostWithFullAlpha) {
    using Host = TypeParam;
    this->SetBlip(6, {.own = {2.0f, 0.0f, 0.0f}, .colourId = 0xABCDEF01, .brightness = 0xF0});
    this->blipColour = 0x12345678;
    this->BlipFrame();
    ASSERT_EQ(Host::BlipColourQuery::calls.size(), 1u);
    EXPECT_EQ(Host::BlipColourQuery::calls[0], std::make_tuple(0xABCDEF01u, 0xF0u));
    ASSERT_EQ(this->quads.size(), 1u);
    EXPECT_EQ(this->RouteColour(), (Colour{0x12, 0x34, 0x56, 0xFF}));

    this->blipColour = 0xFFFFFF00;
    this->BlipFrame();
    EXPECT_EQ(this->RouteColour(), (Colour{0xFF, 0xFF, 0xFF, 0xFF}));
}

TYPED_TEST(TargetTest, NoBlipsNoRoute) {
    this->BlipFrame();
    EXPECT_FALSE(this->Searched());
    EXPECT_TRUE(TypeParam::BlipColourQuery::calls.empty());
}

}  // namespace
