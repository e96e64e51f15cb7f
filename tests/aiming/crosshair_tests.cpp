// The crosshair, entered through the host's HUD call at 0x505EA9: when it is drawn, and
// the square it hands to the host's 2-D drawing.
#include <array>
#include <functional>

#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

constexpr uint32_t Raster = 0xABCD1234;
constexpr uint32_t CrosshairByteA = 0x50554D;
constexpr uint32_t CrosshairByteB = 0x505628;

class CrosshairTest : public AimingTest {
protected:
    // Aiming (or not) on foot with a gun, a 640 x 480 view, HUD scale 1 and a texture.
    void AimOnFoot(bool aims = true) {
        Start({"bProcess_FollowPed=1"});
        ReadyToAim();
        if (!aims) PadAimHeld::answer = [](HostPad*) { return 0; };
        Pass();
        ASSERT_EQ(Aiming(), aims);
        At<int32_t>(HostViewWidthAddress) = 640;
        At<int32_t>(HostViewHeightAddress) = 480;
        At<float>(HostHudScaleAddress) = 1.0f;
        At<uint32_t>(TextureAddress) = Raster;
        At<uint32_t>(HostCrosshairTextureAddress) = TextureAddress;
        GetPad::answer = [](int32_t) { return Ptr<HostPad>(HostPad0Address); };
        QuadSetupFromRect::answer = [this](const float* r, const HostRgba* c1, const HostRgba* c2,
                                           const HostRgba* c3, const HostRgba* c4, uint32_t) {
            rect = {r[0], r[1], r[2], r[3]};
            corners = {*c1, *c2, *c3, *c4};
        };
    }
    void Draw() {
        const SiteResult result = EnterHostSite(CrosshairSite, 0, {});
        EXPECT_EQ(result.removedBytes(), 0u);
        EXPECT_EQ(result.fpuDepthChange(), 0);
    }
    bool Drawn() const { return !SubmitVertices2D::calls.empty(); }

    std::array<float, 4> rect{};  // as handed over: left, bottom, right, top
    std::array<HostRgba, 4> corners{};
};

TEST_F(CrosshairTest, InstallClearsTwoHostBytesAndTakesOverTheDrawCallOnlyWithFollowPed) {
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        Prepare();
        PokeBytes(CrosshairByteA, {0xCC});
        PokeBytes(CrosshairByteB, {0xCC});
        Load({on ? "bProcess_FollowPed=1" : "bProcess_FollowPed=0"});
        const std::vector<uint32_t> sites = {CrosshairByteA, CrosshairByteB, CrosshairSite};
        EXPECT_EQ(SitesWritten(sites), on ? sites : std::vector<uint32_t>{});
        EXPECT_EQ(At<uint8_t>(CrosshairByteA), on ? 0 : 0xCC);
        EXPECT_EQ(At<uint8_t>(CrosshairByteB), on ? 0 : 0xCC);
        EXPECT_EQ(At<uint8_t>(CrosshairSite), on ? 0xE8 : 0);
        if (on) {
            EXPECT_TRUE(InsidePlugin(Rel32Target(CrosshairSite)));
        }
    }
}

struct RefusalCase {
    const char* name;
    bool aims;
    std::function<void(HostWorld&)> change;
    bool draws;
    bool asksPad;  // reached the sixth condition
};

TEST_F(CrosshairTest, NothingIsDrawnWhenAnyConditionFailsAndLaterOnesAreNotAsked) {
    auto otherPad = [](uint8_t lock) {
        return [lock](HostWorld&) {
            At<uint8_t>(OtherPadAddress + 0xDF) = lock;
            GetPad::answer = [](int32_t) { return Ptr<HostPad>(OtherPadAddress); };
        };
    };
    const RefusalCase cases[] = {
        {"everything holds", true, [](HostWorld&) {}, true, true},
        {"controlling a vehicle", true,
         [](HostWorld& w) { HostFocusedPlayer().controlledVehicle = w.vehicle; }, false, false},
        {"driving", true,
         [](HostWorld& w) { GetPlayerVehicle::answer = [&w] { return w.vehicle; }; }, false, false},
        {"not aiming", false, [](HostWorld&) {}, false, false},
        {"active cam in mode 16", true, [](HostWorld&) { HostCam().mode = 16; }, false, false},
        {"second cam active, in mode 7", true,
         [](HostWorld&) {
             HostCamera().activeCam = 1;
             HostCamera().cams[1].mode = 7;
         },
         false, false},
        {"second cam active, in mode 4", true,
         [](HostWorld&) {
             HostCamera().activeCam = 1;
             HostCamera().cams[1].mode = 4;
             HostCam().mode = 16;
         },
         true, true},
        {"control locked on the pad asked for", true, otherPad(1), false, true},
        {"control free on the pad asked for", true,
         [&](HostWorld& w) {
             otherPad(0)(w);
             HostPad0().controlLock = 1;
         },
         true, true},
        {"no pad", true, [](HostWorld&) { GetPad::answer = [](int32_t) { return nullptr; }; },
         false, true},
        {"no player character", true, [](HostWorld&) { HostPlayerRecord0().character = nullptr; },
         false, true},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        AimOnFoot(c.aims);
        c.change(world);
        Draw();
        EXPECT_EQ(Drawn(), c.draws);
        if (!c.draws) {
            EXPECT_TRUE(QuadSetupFromRect::calls.empty());
            EXPECT_TRUE(DrawStateSet::calls.empty());
        }
        EXPECT_EQ(GetPad::calls.size(), c.asksPad ? 1u : 0u);
        if (c.asksPad) {
            EXPECT_EQ(GetPad::calls[0], std::make_tuple(0));
        }
    }
}

TEST_F(CrosshairTest, OnlyGunsShowTheCrosshairAndWithALockOnlyWeaponNine) {
    for (uint8_t lock : {0, 1, 2}) {
        for (int32_t weapon = 0; weapon <= 13; ++weapon) {
            SCOPED_TRACE(testing::Message() << "lock " << int(lock) << ", weapon " << weapon);
            AimOnFoot();
            Player().targetLock = lock;
            Player().weapons[3].type = weapon;
            Draw();
            const bool gun = (weapon >= 2 && weapon <= 6) || weapon == 9;
            EXPECT_EQ(Drawn(), lock == 1 ? weapon == 9 : gun);
        }
    }
}

TEST_F(CrosshairTest, WeaponComesFromRecordZeroAndTheLockFromTheFocusedRecord) {
    struct Case {
        int32_t recordZeroWeapon, focusedWeapon;
        uint8_t focusedLock;
        bool draws;
    };
    for (const Case c :
         {Case{4, 9, 1, false}, Case{9, 0, 1, true}, Case{0, 4, 0, false}, Case{4, 0, 0, true}}) {
        SCOPED_TRACE(testing::Message() << c.recordZeroWeapon << " " << c.focusedWeapon);
        AimOnFoot();
        HostCharacter* second = Ptr<HostCharacter>(SecondCharacterAddress);
        Ptr<HostPlayerRecord>(HostPlayerInfoAddress)[1].character = second;
        At<uint8_t>(HostPlayerIndexAddress) = 1;
        Player().weapons[3].type = c.recordZeroWeapon;
        second->weapons[0].type = c.focusedWeapon;
        second->targetLock = c.focusedLock;
        Draw();
        EXPECT_EQ(Drawn(), c.draws);
    }
}

struct RectCase {
    float hudScale;
    int32_t width, height;
    float fractionX, fractionY;
    std::array<float, 4> leftBottomRightTop;
};

TEST_F(CrosshairTest, SquareIsPlacedAroundTheCrosshairPointInWholeScaledPixels) {
    const RectCase cases[] = {
        {1.0f, 640, 480, 0.5f, 0.5f, {305, 253, 333, 225}},   // a = 15, b = 28
        {1.5f, 640, 480, 0.5f, 0.5f, {298, 260, 340, 218}},   // 22.5 -> 22, 42
        {0.99f, 640, 480, 0.5f, 0.5f, {306, 253, 333, 226}},  // 14.85 -> 14, 27.72 -> 27
        {1.0f, 800, 600, 0.25f, 0.75f, {185, 463, 213, 435}},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hudScale << " " << c.width << "x" << c.height);
        AimOnFoot();
        At<float>(HostHudScaleAddress) = c.hudScale;
        At<int32_t>(HostViewWidthAddress) = c.width;
        At<int32_t>(HostViewHeightAddress) = c.height;
        HostCamera().crosshairX = c.fractionX;
        HostCamera().crosshairY = c.fractionY;
        Draw();
        EXPECT_EQ(rect, c.leftBottomRightTop);
        for (const HostRgba& corner : corners) {
            EXPECT_EQ(corner.red, 255);
            EXPECT_EQ(corner.green, 255);
            EXPECT_EQ(corner.blue, 255);
            EXPECT_EQ(corner.alpha, 255);
        }
        ASSERT_EQ(QuadSetupFromRect::calls.size(), 1u);
        EXPECT_EQ(std::get<5>(QuadSetupFromRect::calls[0]), 0u);
    }
}

TEST_F(CrosshairTest, TheQuadIsDrawnWithTheCrosshairTextureWhichIsClearedAfterwards) {
    for (bool texture : {true, false}) {
        SCOPED_TRACE(texture);
        AimOnFoot();
        if (!texture) At<uint32_t>(HostCrosshairTextureAddress) = 0;
        Draw();
        ASSERT_EQ(DrawStateSet::calls.size(), 2u);
        EXPECT_EQ(DrawStateSet::calls[0], std::make_tuple(1, texture ? Raster : 0u));
        EXPECT_EQ(DrawStateSet::calls[1], std::make_tuple(1, 0u));
        ASSERT_EQ(SubmitVertices2D::calls.size(), 1u);
        EXPECT_EQ(SubmitVertices2D::calls[0],
                  std::make_tuple(5, Ptr<void>(HostVertexArray2DAddress), 4));
        std::vector<uint32_t> drawing;
        for (uint32_t address : CallLog())
            if (address == QuadSetupFromRect::address || address == DrawStateSet::address ||
                address == SubmitVertices2D::address)
                drawing.push_back(address);
        EXPECT_EQ(drawing,
                  (std::vector<uint32_t>{QuadSetupFromRect::address, DrawStateSet::address,
                                         SubmitVertices2D::address, DrawStateSet::address}));
    }
}

}  // namespace
}  // namespace aiming_test
