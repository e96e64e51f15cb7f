// The route guide's frame on the radar: the host's route search, the route band, the
// destination marker and the mask, entered through the radar draw and frame sites.
//
// The scene's radar space is the world's x and y; the screen is 100 pixels per radar unit
// around (320, 240) with y downwards; the route is 1400 / 350 = 4 pixels wide.
#include "tests/route_guide/gps_host.h"

namespace {

using namespace sim;
using namespace sim::gps;

template <class Host>
class RouteTest : public GuideTest<Host> {
protected:
    // Default mode with a blip to go to (inside the radar disc).
    void UseBlip() { this->SetBlip(0, {.own = {0.3f, 0.3f, 0.0f}}); }

    // A straight route of count nodes along x, all well inside the radar.
    void SetStraightRoute(int count) {
        std::vector<Point2> points;
        for (int i = 0; i < count; ++i) points.push_back({0.004f * float(i), 0.0f});
        this->SetRoute(points);
    }

    void ExpectCorners(const Quad& quad, std::array<float, 8> expected, float tolerance = 1e-4f) {
        for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(quad.corners[i], expected[i], tolerance) << i;
    }

    size_t CallsOf(uint32_t address) {
        return size_t(std::count(CallLog().begin(), CallLog().end(), address));
    }
    // Where in the call log the n-th call of address is.
    size_t PositionOf(uint32_t address, int n = 0) {
        for (size_t i = 0; i < CallLog().size(); ++i)
            if (CallLog()[i] == address && n-- == 0) return i;
        return size_t(-1);
    }
};
TYPED_TEST_SUITE(RouteTest, Builds, BuildName);

TYPED_TEST(RouteTest, SearchGetsItsElevenArgumentsInOrder) {
    using Host = TypeParam;
    this->SetVehiclePosition({12.5f, -7.25f, 3.0f});
    this->SetArea(2);
    this->SelectMode(Hospital);
    const SiteResult result = this->Frame();
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);

    ASSERT_EQ(Host::RouteSearch::calls.size(), 1u);
    const auto& call = Host::RouteSearch::calls[0];
    EXPECT_EQ(std::get<0>(call), Host::RouteGraph);
    EXPECT_EQ(std::get<1>(call), 0);
    EXPECT_EQ(std::get<2>(call), 12.5f);
    EXPECT_EQ(std::get<3>(call), -7.25f);
    EXPECT_EQ(std::get<4>(call), 3.0f);
    EXPECT_EQ(std::get<5>(call), -1);
    EXPECT_EQ(std::get<6>(call), 185.9603f);
    EXPECT_EQ(std::get<7>(call), -22.5466f);
    EXPECT_EQ(std::get<8>(call), 16.2168f);
    const uint32_t nodes = Addr(std::get<9>(call)), count = Addr(std::get<10>(call));
    EXPECT_TRUE(IsInsideModule(this->plugin->module(), nodes));
    EXPECT_TRUE(IsInsideModule(this->plugin->module(), count));
    EXPECT_TRUE(count >= nodes + 200 * 4 || count + 2 <= nodes) << "count inside the nodes";
    EXPECT_EQ(std::get<11>(call), 200);
    EXPECT_EQ(std::get<12>(call), this->VehicleAt);
    EXPECT_EQ(std::get<13>(call), 0);
    EXPECT_EQ(std::get<14>(call), 999999.0f);
    EXPECT_EQ(std::get<15>(call), -1);
}

TYPED_TEST(RouteTest, NodeCountBoundsTheRoute) {
    using Host = TypeParam;
    struct Case {
        int given;
        int16_t reported;
        size_t quads;
        size_t radarPoints;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {1, 1, 0, 0},       {2, 2, 1, 2},      {5, 3, 2, 3},
        {200, 200, 199, 200},
        {200, 250, 199, 200},                   // more than nodes holds: the 200 held
        {200, int16_t(0x7FFF), 199, 200},
        {5, -5, 0, 0},      {5, int16_t(0x8002), 0, 0},  // negative: nothing
    };
    this->UseBlip();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.given << " nodes, " << c.reported << " reported");
        this->SetStraightRoute(c.given);
        this->reportedCount = c.reported;
        this->Forget();
        const SiteResult result = this->Frame();
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(this->quads.size(), c.quads);
        EXPECT_EQ(Host::WorldToRadar::calls.size(), c.radarPoints);
        EXPECT_EQ(Host::DrawStateSet::calls.size(), c.quads > 0 ? 1u : 0u);
        EXPECT_TRUE(Host::DrawRadarMarker::calls.empty());
    }
}

TYPED_TEST(RouteTest, ASegmentIsDrawnWhenOneEndIsWithinRadius1_2) {
    using Host = TypeParam;
    struct Case {
        Point2 a, b;
        bool drawn;
    };
    const Case cases[] = {
        {{0.5f, 0.0f}, {1.3f, 0.0f}, true},
        {{1.3f, 0.0f}, {-1.3f, 0.0f}, false},  // crosses the radar, both ends outside
        // 1.2 squared in 32-bit floats is 1.4400001: outside.
        {{1.2f, 0.0f}, {1.3f, 0.0f}, false},
        {{1.3f, 0.0f}, {1.2f, 0.0f}, false},
        {{0.0f, -1.2f}, {0.0f, -1.3f}, false},
        {{1.19999f, 0.0f}, {1.3f, 0.0f}, true},
        {{2.0f, 2.0f}, {0.6f, 0.9f}, true},    // 1.17
        {{2.0f, 2.0f}, {0.8f, 0.9f}, false},   // 1.45
    };
    this->UseBlip();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.a.x << ", " << c.a.y << ") to (" << c.b.x
                                        << ", " << c.b.y << ")");
        this->SetRoute({c.a, c.b});
        this->Forget();
        this->Frame();
        EXPECT_EQ(this->quads.size(), c.drawn ? 1u : 0u);
        // A skipped segment is never converted to the screen.
        EXPECT_EQ(Host::RadarToScreen::calls.size(), c.drawn ? 2u : 0u);
    }
}

TYPED_TEST(RouteTest, EachNodeIsConvertedOnceAndSharedByItsSegments) {
    using Host = TypeParam;
    this->UseBlip();
    this->SetRoute({{2.0f, 0.0f}, {1.3f, 0.0f}, {0.5f, 0.0f}, {0.2f, 0.0f}, {3.0f, 0.0f},
                    {4.0f, 0.0f}});
    this->Frame();
    EXPECT_EQ(Host::WorldToRadar::calls.size(), 6u);
    EXPECT_EQ(Host::RadarToScreen::calls.size(), 4u);  // the four nodes of drawn segments
    ASSERT_EQ(this->quads.size(), 3u);
    // Screen x of the nodes: 450, 370, 340, 620; width 4 around y = 240.
    this->ExpectCorners(this->quads[0], {450, 238, 370, 238, 450, 242, 370, 242});
    this->ExpectCorners(this->quads[1], {370, 238, 340, 238, 370, 242, 340, 242});
    this->ExpectCorners(this->quads[2], {340, 242, 620, 242, 340, 238, 620, 238});
}

TYPED_TEST(RouteTest, BandCornersOfHorizontalAndVerticalSegments) {
    using Host = TypeParam;
    // This screen puts radar (-0.5, 0) at (100, 50), 100 pixels per unit.
    Host::RadarToScreen::answer = [](Point2* screen, const Point2* radar) {
        const Point2 in = *radar;
        *screen = {150.0f + 100.0f * in.x, 50.0f - 100.0f * in.y};
    };
    struct Case {
        Point2 a, b;  // radar
        std::array<float, 8> corners;
    };
    const Case cases[] = {
        // (100, 50) to (200, 50)
        {{-0.5f, 0.0f}, {0.5f, 0.0f}, {100, 52, 200, 52, 100, 48, 200, 48}},
        // (100, 50) down to (100, 150)
        {{-0.5f, 0.0f}, {-0.5f, -1.0f}, {98, 50, 98, 150, 102, 50, 102, 150}},
    };
    this->UseBlip();
    for (const Case& c : cases) {
        this->SetRoute({c.a, c.b});
        this->Forget();
        this->Frame();
        ASSERT_EQ(this->quads.size(), 1u);
        this->ExpectCorners(this->quads[0], c.corners);
    }
}

TYPED_TEST(RouteTest, WidthIs1400OverTheHostDivisor) {
    using Host = TypeParam;
    struct Case {
        float divisor;
        float halfWidth;
    };
    const Case cases[] = {{350.0f, 2.0f}, {700.0f, 1.0f}, {175.0f, 4.0f}, {1400.0f, 0.5f}};
    this->UseBlip();
    this->SetRoute({{0.0f, 0.0f}, {0.5f, 0.0f}});  // (320, 240) to (370, 240)
    for (const Case& c : cases) {
        At<float>(Host::RouteWidthDivisor) = c.divisor;
        this->Forget();
        this->Frame();
        ASSERT_EQ(this->quads.size(), 1u);
        this->ExpectCorners(this->quads[0], {320, 240 + c.halfWidth, 370, 240 + c.halfWidth, 320,
                                             240 - c.halfWidth, 370, 240 - c.halfWidth});
    }
}

TYPED_TEST(RouteTest, RouteQuadsAreBuiltInFrontAndSubmittedAtTheHostDepth) {
    using Host = TypeParam;
    this->UseBlip();
    this->SetRoute({{0.0f, 0.0f}, {0.5f, 0.0f}, {0.5f, 0.5f}, {0.0f, 0.5f}});
    this->Frame();
    ASSERT_EQ(this->quads.size(), 3u);
    ASSERT_EQ(this->submitDepths.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(this->quads[i].depth, this->QueriedDepth + this->DepthOffsetValue) << i;
        EXPECT_EQ(this->submitDepths[i], this->QueriedDepth) << i;
        EXPECT_EQ(Host::SubmitVertices2D::calls[i],
                  std::make_tuple(5, Host::VertexArray2D, 4));
        for (const Colour* address : this->quads[i].colourAddresses)
            EXPECT_EQ(address, this->quads[i].colourAddresses[0]);
    }
    EXPECT_EQ(At<float>(this->DrawContextAt + 24), this->QueriedDepth);
    EXPECT_EQ(Host::QuadDepthQuery::calls.size(), 3u);
    EXPECT_EQ(Host::DrawStateSet::calls, (std::vector<std::tuple<int32_t, int32_t>>{{1, 0}}));
    // State first, then per segment: depth, quad, submit.
    const uint32_t perSegment[] = {Host::QuadDepthQuery::address, Host::QuadSetup::address,
                                   Host::SubmitVertices2D::address};
    size_t at = this->PositionOf(Host::DrawStateSet::address);
    for (int segment = 0; segment < 3; ++segment)
        for (uint32_t address : perSegment) {
            const size_t next = this->PositionOf(address, segment);
            EXPECT_LT(at, next);
            at = next;
        }
}

TYPED_TEST(RouteTest, MarkerOnlyStrictlyInsideTheRadarDisc) {
    using Host = TypeParam;
    struct Case {
        Point2 radar;
        bool drawn;
        Point2 screen;
    };
    const Case cases[] = {
        {{0.6f, 0.8f}, false, {}},  // radius exactly 1
        {{1.0f, 0.0f}, false, {}},
        {{0.6f, 0.7f}, true, {380.0f, 170.0f}},
        {{0.0f, 0.0f}, true, {320.0f, 240.0f}},
        {{-0.99f, 0.0f}, true, {221.0f, 240.0f}},
    };
    this->SelectMode(Hospital);  // area 1: (1144.25, -596.875, 14.9144)
    this->SetRoute({{0.0f, 0.0f}, {0.5f, 0.0f}});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radar.x << ", " << c.radar.y);
        Host::WorldToRadar::answer = [&c](Point2* radar, const Point3* world) {
            *radar = world->x == 1144.25f ? c.radar : Point2{world->x, world->y};
        };
        this->Forget();
        this->Frame();
        ASSERT_EQ(Host::DrawRadarMarker::calls.size(), c.drawn ? 1u : 0u);
        if (!c.drawn) continue;
        const auto& [x, y, kind, r, g, b, a] = Host::DrawRadarMarker::calls[0];
        EXPECT_NEAR(x, c.screen.x, 1e-4f);
        EXPECT_NEAR(y, c.screen.y, 1e-4f);
        EXPECT_EQ(kind, 3);
        EXPECT_EQ(std::make_tuple(r, g, b, a), std::make_tuple(0x00, 0x96, 0xD9, 255));
        // The marker's point is converted in place.
        const auto& [screen, radar] = Host::RadarToScreen::calls.back();
        EXPECT_EQ(static_cast<const void*>(screen), static_cast<const void*>(radar));
    }
}

TYPED_TEST(RouteTest, FixedCategoriesAreMarkedEvenWithoutARoute) {
    using Host = TypeParam;
    Host::WorldToRadar::answer = [](Point2* radar, const Point3*) { *radar = {0.1f, 0.1f}; };
    this->SelectMode(Police);
    for (int nodes : {0, 1}) {
        this->SetStraightRoute(nodes);
        this->Forget();
        this->Frame();
        EXPECT_TRUE(this->quads.empty());
        EXPECT_TRUE(Host::DrawStateSet::calls.empty());
        ASSERT_EQ(Host::DrawRadarMarker::calls.size(), 1u);
        EXPECT_EQ(std::get<3>(Host::DrawRadarMarker::calls[0]), 0xC8);
    }
}

TYPED_TEST(RouteTest, DefaultDrawsTheRouteButNoMarker) {
    using Host = TypeParam;
    this->UseBlip();
    this->SetRoute({{0.0f, 0.0f}, {0.3f, 0.3f}});
    this->Frame();
    EXPECT_EQ(this->quads.size(), 1u);
    EXPECT_TRUE(Host::DrawRadarMarker::calls.empty());
    EXPECT_EQ(Host::WorldToRadar::calls.size(), 2u);  // the route's nodes only
}

TYPED_TEST(RouteTest, DisabledDrawsNoMaskButStillSetsTheSecondaryState) {
    using Host = TypeParam;
    this->UseBlip();
    this->SetStraightRoute(3);
    this->SelectMode(Disabled);

    const SiteResult frame = EnterHostSite(Host::RadarFrameSite, this->RadarFrameThis, {});
    EXPECT_EQ(frame.removedBytes(), 0u);
    EXPECT_EQ(CallLog(), (std::vector<uint32_t>{Host::RadarFrameStep::address,
                                                Host::SecondaryStateSet::address}));
    EXPECT_EQ(Host::SecondaryStateSet::calls[0], std::make_tuple(25, 5));

    this->Forget();
    this->Frame();
    EXPECT_FALSE(Seam().keyStateQueries.empty());  // the hotkeys are still read
    EXPECT_EQ(CallLog(), (std::vector<uint32_t>{Host::RadarDrawStep::address,
                                                Host::GetPlayerVehicle::address}));
}

TYPED_TEST(RouteTest, MaskCoversEverythingButTheRadarSquare) {
    using Host = TypeParam;
    for (int mode : {Default, Hospital}) {
        SCOPED_TRACE(mode);
        this->SelectMode(mode);
        const SiteResult result = EnterHostSite(Host::RadarFrameSite, this->RadarFrameThis, {});
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(result.fpuDepthChange(), 0);
        EXPECT_EQ(Host::RadarFrameStep::calls,
                  (std::vector<std::tuple<uint32_t>>{{this->RadarFrameThis}}));
        const uint32_t quad = Host::QuadSetup::address, submit = Host::SubmitVertices2D::address;
        EXPECT_EQ(CallLog(),
                  (std::vector<uint32_t>{Host::RadarFrameStep::address, Host::DrawStateSet::address,
                                         Host::RadarToScreen::address,
                                         Host::RadarToScreen::address, quad, submit, quad, submit,
                                         quad, submit, quad, submit,
                                         Host::SecondaryStateSet::address}));
        EXPECT_EQ(Host::DrawStateSet::calls[0], std::make_tuple(1, 0));
        EXPECT_EQ(Host::SecondaryStateSet::calls[0], std::make_tuple(25, 5));
        // Radar corners: top right (1, 1) is (420, 140), bottom left (-1, -1) is (220, 340);
        // the screen is 640 x 480.
        ASSERT_EQ(this->quads.size(), 4u);
        this->ExpectCorners(this->quads[0], {220, 480, 220, 0, 0, 480, 0, 0}, 0.0f);
        this->ExpectCorners(this->quads[1], {420, 140, 420, 0, 220, 140, 220, 0}, 0.0f);
        this->ExpectCorners(this->quads[2], {420, 480, 420, 340, 220, 480, 220, 340}, 0.0f);
        this->ExpectCorners(this->quads[3], {640, 480, 640, 0, 420, 480, 420, 0}, 0.0f);
        for (const Quad& q : this->quads) {
            for (size_t corner = 0; corner < 4; ++corner) {
                EXPECT_EQ(q.colours[corner], (Colour{0, 0, 0, 0}));
                EXPECT_EQ(q.colourAddresses[corner], this->quads[0].colourAddresses[0]);
            }
            EXPECT_EQ(q.depth, this->ContextDepth);  // the host's depth, untouched
        }
        EXPECT_TRUE(Host::QuadDepthQuery::calls.empty());
        for (const auto& call : Host::SubmitVertices2D::calls)
            EXPECT_EQ(call, std::make_tuple(5, Host::VertexArray2D, 4));
    }
}

TYPED_TEST(RouteTest, MaskIsDrawnInsideTheRadarStepBeforeTheRoute) {
    using Host = TypeParam;
    // As in the host: the frame call lies inside the radar draw step.
    Host::RadarDrawStep::answer = [this](uint32_t) {
        EnterHostSite(Host::RadarFrameSite, this->RadarFrameThis, {});
    };
    Host::WorldToRadar::answer = [](Point2* radar, const Point3* world) {
        *radar = world->x > 1000.0f ? Point2{0.2f, 0.2f} : Point2{world->x, world->y};
    };
    this->SelectMode(Hospital);
    this->SetRoute({{0.0f, 0.0f}, {0.5f, 0.0f}});
    this->Forget();
    const SiteResult result = this->Frame();
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);
    ASSERT_EQ(this->quads.size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(this->quads[i].colours[0], (Colour{0, 0, 0, 0}));
    EXPECT_EQ(this->quads[4].colours[0], (Colour{0x00, 0x96, 0xD9, 0xFF}));
    EXPECT_LT(this->PositionOf(Host::SecondaryStateSet::address),
              this->PositionOf(Host::GetPlayerVehicle::address));
    EXPECT_EQ(Host::DrawRadarMarker::calls.size(), 1u);
}

}  // namespace
