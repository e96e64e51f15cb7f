#include "camera_plugin/aiming/aim_state.h"

uint8_t bAiming = 0;
uint8_t bPlayerFacesCamera = 0;
uint8_t bAimReleased = 0;
uint8_t bShoulderBlocked = 0;

HostVehicle* PlayerVehicle() {
    HostVehicle* controlled = HostFocusedPlayer().controlledVehicle;
    return controlled != nullptr ? controlled : HostGetPlayerVehicle();
}

bool IsAimBlockingState() {
    const HostCharacter* character = HostGetPlayerCharacter();
    if (character == nullptr) return false;
    const int32_t state = character->state;
    return state == 24 || state == 25 || state == 32 || (state >= 35 && state <= 44);
}

int32_t FireHeld() {
    if (HostPadFireHeld() != 0) return 1;
    // Aiming with the mouse, button 0x08 fires as well.
    const HostPad& pad = HostPad0();
    if (bAiming == 1 && HostControlLock() == 0 && pad.padMode != 4) return pad.button08 != 0;
    return 0;
}

bool FirePressed() {
    if (HostControlLock() != 0) return false;
    if (HostPadFirePressed() != 0) return true;
    const HostPad& pad = HostPad0();
    if (bAiming == 1 && pad.padMode != 4) return pad.button08 != 0 && pad.previousButton08 == 0;
    return false;
}
