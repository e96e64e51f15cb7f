// The destination category the player picks while driving, the hotkeys that pick it, the
// status text under the radar and the reset of the category with the host.
#pragma once

#include <cstdint>

enum class GpsMode : int8_t {
    Default = 0,  // nearest radar blip
    Safehouse = 1,
    PayNSpray = 2,
    AmmuNation = 3,
    BombShop = 4,
    Hospital = 5,
    Police = 6,
    FireStation = 7,
    Disabled = 8,  // no route, marker or mask
};

constexpr int8_t GpsModeLast = int8_t(GpsMode::Disabled);

struct GuideState {
    GpsMode mode;
    uint32_t modeChangedAt;  // host ms of the last change; opens the status text window
    uint32_t lastCycleAt;    // host ms of the last Page Up / Page Down step
    uint32_t lastSoundAt;    // host ms of the last change sound
};

// The one record of the process; only this unit writes it.
extern GuideState Guide;

// Once per frame while the player is in a vehicle: reads the hotkeys, may change the mode
// (with its sound), then draws the status text.
void PollHotkeys();
// Draws the status text while a change is less than 2000 ms old.
void ShowModeText();
// Entered from the host's reset call as a method on the object the host passes there.
uint32_t __thiscall ResetHook(void* self);
