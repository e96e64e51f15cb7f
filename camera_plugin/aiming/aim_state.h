// The aim flags the aiming hook, the cameras, the pad overrides, the crosshair and the
// player-state hooks share, and the small player predicates they have in common.
#pragma once

#include <cstdint>

#include "camera_plugin/host/host_interface.h"

// One byte each, 0 at load.
extern uint8_t bAiming;             // 1 while the player aims; written by the aiming hook
extern uint8_t bPlayerFacesCamera;  // 1 after a pass that turned the character to the camera
extern uint8_t bAimReleased;        // 1 once the aim-end routines ran after aiming stopped
extern uint8_t bShoulderBlocked;    // 1 when the aiming camera's shoulder pivot was blocked

// The focused player record's controlled vehicle, else the vehicle the player drives.
HostVehicle* PlayerVehicle();

// True while the player character's state forbids aiming (24, 25, 32, 35 to 44).
bool IsAimBlockingState();

// Fire input, also from button 0x08 while aiming with the mouse.
int32_t FireHeld();  // 0 or 1
bool FirePressed();

// The weapon slot the character holds.
inline const HostWeaponSlot& CurrentWeaponSlot(const HostCharacter& character) {
    return character.weapons[character.currentWeaponSlot];
}
