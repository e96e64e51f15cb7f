// Hotkeys, change sound, status text and the host's reset, entered through the radar
// draw site and the reset site. The mode a frame ends in is read from the status text,
// which every change shows.
#include "tests/route_guide/gps_host.h"

namespace {

using namespace sim;
using namespace sim::gps;

constexpr const char* ModeTexts[] = {
    "GPS Mode: Default",  "GPS Mode: Safehouse", "GPS Mode: Pay'N'Spray",
    "GPS Mode: Ammu-Nation", "GPS Mode: Bomb Shop", "GPS Mode: Hospital",
    "GPS Mode: Police", "GPS Mode: Fire Station", "GPS Mode: Disabled",
};

// From mode start, one frame with these keys held ends in mode expected.
struct KeyCase {
    int start;
    std::vector<int> keys;
    int expected;
};

template <class Host>
class HotkeyTest : public GuideTest<Host> {
protected:
    // One frame at time ms with exactly these keys held; the text it showed, or "".
    std::string FrameWith(uint32_t ms, std::initializer_list<int> keys) {
        this->SetTime(ms);
        this->ReleaseKeys();
        this->Hold(keys);
        this->texts.clear();
        this->Frame();
        this->ReleaseKeys();
        return this->texts.empty() ? std::string() : this->texts.back();
    }
    size_t Sounds() { return Host::PlaySound::calls.size(); }
    void Reset() { EnterHostSite(Host::ResetSite, this->ResetThis, {}); }
};
TYPED_TEST_SUITE(HotkeyTest, Builds, BuildName);

TYPED_TEST(HotkeyTest, AltKeysAreTakenInTheirPriorityOrder) {
    const std::vector<KeyCase> cases = {
        {Default, {VK_NUMPAD3, VK_NUMPAD1}, AmmuNation},
        {Default,
         {VK_SUBTRACT, VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
          VK_NUMPAD6, VK_NUMPAD7},
         Disabled},
        // Each neighbour pair of the order Subtract, 0, 3, 4, 7, 5, 2, 6, 1.
        {Police, {VK_SUBTRACT, VK_NUMPAD0}, Disabled},
        {Police, {VK_NUMPAD0, VK_NUMPAD3}, Default},
        {Police, {VK_NUMPAD3, VK_NUMPAD4}, AmmuNation},
        {Police, {VK_NUMPAD4, VK_NUMPAD7}, BombShop},
        {Police, {VK_NUMPAD7, VK_NUMPAD5}, FireStation},
        {Police, {VK_NUMPAD5, VK_NUMPAD2}, Hospital},
        {Police, {VK_NUMPAD2, VK_NUMPAD6}, PayNSpray},
        {Default, {VK_NUMPAD6, VK_NUMPAD1}, Police},
        {Default, {VK_NUMPAD1}, Safehouse},
    };
    for (const KeyCase& c : cases) {
        this->SelectMode(c.start);
        this->Hold({VK_MENU});
        for (int key : c.keys) this->Hold({key});
        this->Frame();
        ASSERT_FALSE(this->texts.empty()) << c.expected;
        EXPECT_EQ(this->texts.back(), ModeTexts[c.expected]);
    }
}

TYPED_TEST(HotkeyTest, AltWithoutANumpadKeyKeepsTheModeAndIgnoresPageKeys) {
    this->SelectMode(Police);
    EXPECT_EQ(this->FrameWith(this->Time(), {VK_MENU, VK_NEXT, VK_PRIOR}), "");
    for (int key : Seam().keyStateQueries) {
        EXPECT_NE(key, VK_NEXT);
        EXPECT_NE(key, VK_PRIOR);
    }
    EXPECT_EQ(Seam().keyStateQueries.front(), VK_MENU);
    // Numpad keys without Alt do nothing either.
    EXPECT_EQ(this->FrameWith(this->Time() + 1000, {VK_NUMPAD1, VK_SUBTRACT}), "");
    EXPECT_EQ(this->Sounds(), 0u);
}

TYPED_TEST(HotkeyTest, OnlyAHighByteOf0xFFCountsAsHeld) {
    // The toggle bit alone is not a held key.
    Seam().keyStates[VK_MENU] = 0x0001;
    Seam().keyStates[VK_NUMPAD5] = int16_t(0xFF81);
    this->Frame();
    EXPECT_TRUE(this->texts.empty());
    Seam().keyStates[VK_MENU] = int16_t(0xFF81);
    this->Frame();
    ASSERT_EQ(this->texts.size(), 1u);
    EXPECT_EQ(this->texts[0], "GPS Mode: Hospital");
}

TYPED_TEST(HotkeyTest, PageKeysStepAroundTheRing) {
    const std::vector<KeyCase> cases = {
        {Disabled, {VK_NEXT}, Default},    {Default, {VK_PRIOR}, Disabled},
        {Police, {VK_NEXT}, FireStation},  {Police, {VK_PRIOR}, Hospital},
        {Safehouse, {VK_NEXT, VK_PRIOR}, PayNSpray},  // Page Down wins
    };
    for (const KeyCase& c : cases) {
        this->SelectMode(c.start);
        for (int key : c.keys) this->Hold({key});
        this->Frame();
        ASSERT_FALSE(this->texts.empty()) << c.start;
        EXPECT_EQ(this->texts.back(), ModeTexts[c.expected]) << c.start;
    }
}

TYPED_TEST(HotkeyTest, HeldPageDownStepsAtMostOncePer301Ms) {
    // After load the last step counts as made at 0; the text window of Default is open.
    EXPECT_EQ(this->FrameWith(300, {VK_NEXT}), ModeTexts[Default]);
    EXPECT_EQ(this->FrameWith(301, {VK_NEXT}), ModeTexts[Safehouse]);
    EXPECT_EQ(this->FrameWith(450, {VK_NEXT}), ModeTexts[Safehouse]);
    EXPECT_EQ(this->FrameWith(601, {VK_NEXT}), ModeTexts[Safehouse]);
    EXPECT_EQ(this->FrameWith(602, {VK_NEXT}), ModeTexts[PayNSpray]);
    EXPECT_EQ(this->FrameWith(903, {VK_PRIOR}), ModeTexts[Safehouse]);
}

TYPED_TEST(HotkeyTest, ChangeSoundIsHeldBackFor250Ms) {
    using Host = TypeParam;
    this->FrameWith(10000, {VK_MENU, VK_NUMPAD1});
    ASSERT_EQ(this->Sounds(), 1u);
    EXPECT_EQ(Host::PlaySound::calls[0], std::make_tuple(Host::SoundObject, 149, 0));

    // 200 ms later: a change with its text, but no sound.
    EXPECT_EQ(this->FrameWith(10200, {VK_MENU, VK_NUMPAD2}), ModeTexts[PayNSpray]);
    EXPECT_EQ(this->Sounds(), 1u);
    // The window restarted at 10200.
    EXPECT_EQ(this->FrameWith(12199, {}), ModeTexts[PayNSpray]);
    EXPECT_EQ(this->FrameWith(12200, {}), "");

    // 250 ms after the first sound is not enough, 251 is.
    this->FrameWith(10250, {VK_MENU, VK_NUMPAD3});
    EXPECT_EQ(this->Sounds(), 1u);
    this->FrameWith(10251, {VK_MENU, VK_NUMPAD4});
    EXPECT_EQ(this->Sounds(), 2u);
}

TYPED_TEST(HotkeyTest, DisabledIsShownWithoutASound) {
    EXPECT_EQ(this->FrameWith(10000, {VK_MENU, VK_SUBTRACT}), ModeTexts[Disabled]);
    EXPECT_EQ(this->FrameWith(11999, {}), ModeTexts[Disabled]);
    EXPECT_EQ(this->FrameWith(12000, {}), "");
    EXPECT_EQ(this->Sounds(), 0u);
}

TYPED_TEST(HotkeyTest, SelectingTheCurrentModeAgainChangesNothing) {
    this->FrameWith(10000, {VK_MENU, VK_NUMPAD5});
    ASSERT_EQ(this->Sounds(), 1u);
    EXPECT_EQ(this->FrameWith(11000, {VK_MENU, VK_NUMPAD5}), ModeTexts[Hospital]);
    EXPECT_EQ(this->Sounds(), 1u);
    // The window still closes 2000 ms after the first selection.
    EXPECT_EQ(this->FrameWith(12000, {VK_MENU, VK_NUMPAD5}), "");
}

TYPED_TEST(HotkeyTest, StatusTextIsDrawnWithTheHostTextCallsInOrder) {
    using Host = TypeParam;
    this->FrameWith(10000, {VK_MENU, VK_SUBTRACT});
    const std::vector<uint32_t> expected = {
        Host::RadarDrawStep::address, Host::GetPlayerVehicle::address,
        Host::TextFromAscii::address, Host::TextOptionA::address,
        Host::TextScale::address,     Host::TextColour::address,
        Host::TextOptionB::address,   Host::TextOptionC::address,
        Host::TextOptionD::address,   Host::RadarToScreen::address,
        Host::TextPrint::address,     Host::TextOptionC::address,
        Host::TextOptionA::address};
    EXPECT_EQ(CallLog(), expected);

    EXPECT_EQ(std::get<0>(Host::TextOptionA::calls[0]), 0);
    EXPECT_EQ(std::get<0>(Host::TextOptionA::calls[1]), 0);
    EXPECT_EQ(Host::TextScale::calls[0], std::make_tuple(0.7f, 1.0f));
    const Colour white{255, 255, 255, 255};
    EXPECT_EQ(*std::get<0>(Host::TextColour::calls[0]), white);
    EXPECT_EQ(std::get<0>(Host::TextOptionC::calls[0]), 1);
    EXPECT_EQ(std::get<0>(Host::TextOptionC::calls[1]), 0);
    // The radar's bottom-left corner (-1, -1) is (220, 340) on this screen; the text
    // starts 10 pixels below it, from the buffer the text was converted into.
    const auto& [screen, radar] = Host::RadarToScreen::calls[0];
    EXPECT_EQ(static_cast<const void*>(screen), static_cast<const void*>(radar));
    const auto& [x, y, printed] = Host::TextPrint::calls[0];
    EXPECT_EQ(x, 220.0f);
    EXPECT_EQ(y, 350.0f);
    EXPECT_EQ(printed, std::get<1>(Host::TextFromAscii::calls[0]));
}

TYPED_TEST(HotkeyTest, EveryModeShowsItsText) {
    for (int mode : {Safehouse, PayNSpray, AmmuNation, BombShop, Hospital, Police, FireStation,
                     Disabled, Default}) {
        this->SelectMode(mode == Default ? Police : Default);
        EXPECT_EQ(this->FrameWith(this->Time(), {VK_MENU, ModeKeys[mode]}), ModeTexts[mode]);
    }
}

TYPED_TEST(HotkeyTest, AmmuNationTextDependsOnTheMapArea) {
    struct Case {
        int32_t area;
        const char* text;
    };
    // Only area 3 lacks the shop; areas the tables do not know read as ordinary ones.
    const Case cases[] = {{1, "GPS Mode: Ammu-Nation"},
                          {2, "GPS Mode: Ammu-Nation"},
                          {3, "GPS Error: can't find Ammu-Nation"},
                          {0, "GPS Mode: Ammu-Nation"},
                          {4, "GPS Mode: Ammu-Nation"},
                          {-1, "GPS Mode: Ammu-Nation"}};
    for (const Case& c : cases) {
        this->SetArea(c.area);
        this->SelectMode(Default);
        EXPECT_EQ(this->FrameWith(this->Time(), {VK_MENU, VK_NUMPAD3}), c.text) << c.area;
        // The text follows the area while the window is open.
        this->SetArea(c.area == 3 ? 1 : 3);
        EXPECT_EQ(this->FrameWith(this->Time() + 10, {}),
                  c.area == 3 ? "GPS Mode: Ammu-Nation" : "GPS Error: can't find Ammu-Nation");
    }
}

TYPED_TEST(HotkeyTest, TextOfDefaultShowsForTheFirstTwoSecondsAfterLoad) {
    EXPECT_EQ(this->FrameWith(0, {}), ModeTexts[Default]);
    EXPECT_EQ(this->FrameWith(1999, {}), ModeTexts[Default]);
    EXPECT_EQ(this->FrameWith(2000, {}), "");
}

TYPED_TEST(HotkeyTest, OnFootNoKeyIsReadAndNothingIsShown) {
    using Host = TypeParam;
    Host::GetPlayerVehicle::answer = [] { return 0u; };
    EXPECT_EQ(this->FrameWith(0, {VK_MENU, VK_NUMPAD5}), "");
    EXPECT_TRUE(Seam().keyStateQueries.empty());
    EXPECT_EQ(CallLog(), (std::vector<uint32_t>{Host::RadarDrawStep::address,
                                                Host::GetPlayerVehicle::address}));
    // Back in the vehicle the mode is still Default.
    Host::GetPlayerVehicle::answer = [this] { return this->VehicleAt; };
    EXPECT_EQ(this->FrameWith(10, {}), ModeTexts[Default]);
}

TYPED_TEST(HotkeyTest, ResetReturnsTheHostResultAndGoesBackToDefault) {
    using Host = TypeParam;
    this->FrameWith(10000, {VK_MENU, VK_NUMPAD6});
    ASSERT_EQ(this->Sounds(), 1u);

    const SiteResult result = EnterHostSite(Host::ResetSite, this->ResetThis, {});
    EXPECT_EQ(result.eax, this->ResetResult);
    EXPECT_EQ(result.removedBytes(), 0u);
    EXPECT_EQ(result.fpuDepthChange(), 0);
    ASSERT_EQ(Host::ResetStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(Host::ResetStep::calls[0]), this->ResetThis);

    // The window counts from 0 again: Default shows while the host clock is below 2000.
    EXPECT_EQ(this->FrameWith(100, {}), ModeTexts[Default]);
    // The next sound is allowed once the clock exceeds 250.
    EXPECT_EQ(this->FrameWith(250, {VK_MENU, VK_NUMPAD1}), ModeTexts[Safehouse]);
    EXPECT_EQ(this->Sounds(), 1u);
    EXPECT_EQ(this->FrameWith(251, {VK_MENU, VK_NUMPAD2}), ModeTexts[PayNSpray]);
    EXPECT_EQ(this->Sounds(), 2u);
}

TYPED_TEST(HotkeyTest, ResetKeepsThePageKeyGuard) {
    EXPECT_EQ(this->FrameWith(20000, {VK_NEXT}), ModeTexts[Safehouse]);
    this->Reset();
    EXPECT_EQ(this->FrameWith(20300, {VK_NEXT}), "");
    EXPECT_EQ(this->FrameWith(20301, {VK_NEXT}), ModeTexts[Safehouse]);
}

}  // namespace
