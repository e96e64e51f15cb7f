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
