#include "route_guide/guide_state.h"

#include <windows.h>

#include <iterator>

#include "route_guide/host_bindings.h"

GuideState Guide{};

namespace {

constexpr uint32_t CycleRepeatMs = 300;
constexpr uint32_t SoundRepeatMs = 250;
constexpr uint32_t TextShowMs = 2000;
constexpr int32_t ChangeSoundId = 149;

// Held means the high byte of the key state is 0xFF; the toggle bit does not count.
bool IsKeyHeld(int key) { return (uint16_t(GetKeyState(key)) >> 8) == 0xFF; }

struct AltHotkey {
    int key;
    GpsMode mode;
};
// Tested in this order while Alt is held; the first key held wins.
constexpr AltHotkey AltHotkeys[] = {
    {VK_SUBTRACT, GpsMode::Disabled}, {VK_NUMPAD0, GpsMode::Default},
    {VK_NUMPAD3, GpsMode::AmmuNation}, {VK_NUMPAD4, GpsMode::BombShop},
    {VK_NUMPAD7, GpsMode::FireStation}, {VK_NUMPAD5, GpsMode::Hospital},
    {VK_NUMPAD2, GpsMode::PayNSpray}, {VK_NUMPAD6, GpsMode::Police},
    {VK_NUMPAD1, GpsMode::Safehouse},
};

constexpr const char* ModeTexts[] = {
    "GPS Mode: Default",     "GPS Mode: Safehouse", "GPS Mode: Pay'N'Spray",
    "GPS Mode: Ammu-Nation", "GPS Mode: Bomb Shop", "GPS Mode: Hospital",
    "GPS Mode: Police",      "GPS Mode: Fire Station", "GPS Mode: Disabled",
};
static_assert(std::size(ModeTexts) == GpsModeLast + 1);

// Map area 3 has no Ammu-Nation.
constexpr int32_t AreaWithoutAmmuNation = 3;
constexpr const char* AmmuNationMissingText = "GPS Error: can't find Ammu-Nation";

const char* ModeText(GpsMode mode) {
    if (mode == GpsMode::AmmuNation && ReadHostAreaNumber() == AreaWithoutAmmuNation)
        return AmmuNationMissingText;
    return ModeTexts[uint8_t(mode)];
}

// Page Down steps forward around the ring 0..8, Page Up backwards.
GpsMode Stepped(GpsMode mode, int step) {
    int next = int(mode) + step;
    if (next > GpsModeLast) next = 0;
    if (next < 0) next = GpsModeLast;
    return GpsMode(next);
}

}  // namespace

void PollHotkeys() {
    const GpsMode oldMode = Guide.mode;
    const uint32_t now = ReadHostTimeMs();
    if (IsKeyHeld(VK_MENU)) {
        for (const AltHotkey& hotkey : AltHotkeys) {
            if (IsKeyHeld(hotkey.key)) {
                Guide.mode = hotkey.mode;
                break;
            }
        }
    } else if (now > Guide.lastCycleAt + CycleRepeatMs) {
        int step = 0;
        if (IsKeyHeld(VK_NEXT))
            step = 1;
        else if (IsKeyHeld(VK_PRIOR))
            step = -1;
        if (step != 0) {
            Guide.mode = Stepped(Guide.mode, step);
            Guide.lastCycleAt = now;
        }
    }
    if (Guide.mode != oldMode) {
        Guide.modeChangedAt = now;
        if (Guide.mode != GpsMode::Disabled && now > Guide.lastSoundAt + SoundRepeatMs) {
            HostPlaySound(ChangeSoundId, 0);
            Guide.lastSoundAt = now;
        }
    }
    ShowModeText();
}

void ShowModeText() {
    if (ReadHostTimeMs() >= Guide.modeChangedAt + TextShowMs) return;
    // Kept for the whole frame in case the host holds on to the text.
    static uint16_t text[260 / sizeof(uint16_t)];
    static constexpr Rgba White{255, 255, 255, 255};
    HostTextFromAscii(ModeText(Guide.mode), text);
    HostTextOptionA(0);
    HostTextScale(0.7f, 1.0f);
    HostTextColour(&White);
    HostTextOptionB();
    HostTextOptionC(1);
    HostTextOptionD();
    // The bottom-left corner of the radar's square; the text starts 10 pixels below it.
    Vector2 corner{-1.0f, -1.0f};
    HostRadarToScreen(&corner);
    HostTextPrint(corner.x, corner.y + 10.0f, text);
    HostTextOptionC(0);
    HostTextOptionA(0);
}

uint32_t __thiscall ResetHook(void* self) {
    const uint32_t result = HostResetStep(self);
    Guide.mode = GpsMode::Default;
    Guide.modeChangedAt = 0;
    Guide.lastSoundAt = 0;
    return result;
}
