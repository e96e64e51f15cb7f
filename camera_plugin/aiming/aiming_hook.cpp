// Free aiming on foot. Once per frame the host's camera processing reaches its call to the
// camera step at 0x46D500, which now enters AimingHook: it makes that step itself, stamps
// the hand-control time, decides bAiming, drops or takes the lock-on target, turns the
// player character to the camera and bends the host's aiming branches to match.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/pad_bridge.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr HostAddress CameraStepCallSite = 0x46D500;

// Host branches that follow the aim mode (JE/JNE), rewritten on every pass.
constexpr HostAddress MouseAimBranchA = 0x468D09;
constexpr HostAddress MouseAimBranchB = 0x468D92;
constexpr HostAddress AimingBranch = 0x4D73DC;
constexpr uint8_t JumpIfEqual = 0x74;
constexpr uint8_t JumpIfNotEqual = 0x75;

constexpr int32_t HandControlHoldMs = 1500;
constexpr int16_t AnaloguePadMode = 4;
constexpr int16_t LockAnalogueThreshold = 30;
constexpr int16_t OnFootCamMode = 4;
constexpr int16_t NoAimCamMode = 37;
constexpr int32_t NoAimSecondState = 4;
constexpr long double QuarterTurn = 1.5707963267948966;

// The focused player record's character; null while the host has none.
HostCharacter* FocusedCharacter() { return HostFocusedPlayer().character; }

uint8_t FocusedTargetLock() {
    const HostCharacter* character = FocusedCharacter();
    return character != nullptr ? character->targetLock : 0;
}

// The focused character's weapon type; unarmed (0) without a character.
int32_t CurrentWeaponType() {
    const HostCharacter* character = FocusedCharacter();
    return character != nullptr ? CurrentWeaponSlot(*character).type : 0;
}

// Weapon types that are never aimed (0: unarmed).
bool IsAimableWeapon(int32_t type) {
    return type != 0 && type != 1 && type != 10 && type != 11 && type != 12;
}

// States in which the character may aim and be turned.
bool StateGate(const HostCharacter& character) {
    return character.state <= 17 || character.state == 22;
}

bool MouseMoved() { return HostMouseDeltaX() != 0.0f || HostMouseDeltaY() != 0.0f; }

bool RightStickMoved() { return HostPadRightStickX() != 0 || HostPadRightStickY() != 0; }

bool Button08JustPressed(const HostPad& pad) {
    return pad.button08 != 0 && pad.previousButton08 == 0;
}

void UpdateAimMode() {
    const bool padAim = Settings.bForceAutoAim || IsPadActive();
    HostMouseAimFlag() = padAim ? 0 : 1;
    HostPadAimFlag() = padAim ? 1 : 0;
}

// Holds off the vehicle camera's re-alignment while the player moves the camera by hand
// or holds the aim input on foot.
void StampHandControl() {
    HostCamRecord& cam = HostCam();
    if (cam.inputLock[0] != 0 && cam.inputLock[1] != 0 && cam.inputLock[2] != 0) return;
    const bool byHand = (IsPadActive() && RightStickMoved()) || MouseMoved() ||
                        (HostFocusedPlayer().controlledVehicle == nullptr &&
                         HostGetPlayerVehicle() == nullptr && HostPadAimHeld() != 0);
    // The clock wraps like the host's own.
    if (byHand) cam.handControlUntil = int32_t(uint32_t(HostTimeMs()) + HandControlHoldMs);
}

bool DecideAiming(const HostCharacter* character) {
    return HostPadAimBlockA() == 0 && character != nullptr && StateGate(*character) &&
           !HostPadAimBlockB() && character->secondState != NoAimSecondState &&
           PlayerVehicle() == nullptr && HostCam().mode != NoAimCamMode &&
           IsAimableWeapon(CurrentWeaponType()) && HostPadAimHeld() != 0;
}

bool ShouldReleaseLock(const HostPad& pad) {
    if (IsPadActive()) {
        if (pad.padMode == AnaloguePadMode) {
            if (pad.lockAnalogue <= LockAnalogueThreshold) return true;
        } else if (RightStickMoved()) {
            return true;
        }
    }
    return MouseMoved();
}

bool ShouldAcquireLock(const HostPad& pad) {
    // The frame in which button 0x08 goes down fires; it does not lock.
    if (HostControlLock() == 0 && pad.padMode != AnaloguePadMode && Button08JustPressed(pad))
        return false;
    if (pad.padMode == AnaloguePadMode) return pad.lockAnalogue >= LockAnalogueThreshold;
    return HostPadLockRequestA() || HostPadLockRequestB();
}

void HandleLockOn() {
    const HostPad& pad = HostPad0();
    if (FocusedTargetLock() != 0) {
        if (!ShouldReleaseLock(pad)) return;
        if (HostCharacter* character = HostGetPlayerCharacter())
            HostCharacterReleaseLock(character);
    } else if (bAiming == 1 && ShouldAcquireLock(pad)) {
        if (HostCharacter* character = HostGetPlayerCharacter())
            HostCharacterAcquireLock(character);
    }
}

bool TurnConditionsHold() {
    const int16_t mode = HostCam().mode;
    if (HostControlLock() == 0 && IsAimableWeapon(CurrentWeaponType()) &&
        FocusedTargetLock() == 0 && mode == OnFootCamMode)
        return true;
    return mode == 16 || mode == 8 || mode == 7 || mode == 34;
}

void TurnCharacter(HostCharacter& character, float heading) {
    HostCharacterPreTurn(&character, character.heading);
    HostMatrixSetHeading(&character.entity.placement, heading);
    character.heading = HostGetPlayerHeading();
    character.heading2 = HostGetPlayerHeading();
}

// Turns the character to the camera while aiming or firing and keeps the aiming pose
// while aiming; ends the pose once when aiming stops.
void TurnAndPose(float heading, int32_t stateAtDecision) {
    HostCharacter* character = HostGetPlayerCharacter();
    if (character == nullptr || !StateGate(*character)) return;
    const int32_t weapon = CurrentWeaponType();
    const bool turnsToFire =
        FireHeld() == 1 && weapon != 2 && weapon != 3 && weapon != 7 && weapon != 8;
    if (turnsToFire || bAiming == 1) {
        TurnCharacter(*character, heading);
        bPlayerFacesCamera = 1;
    } else {
        bPlayerFacesCamera = 0;
    }
    HostMatrixUpdate(&character->entity.placement);

    if (bAiming == 1 && weapon != 7 && weapon != 8 && stateAtDecision != 16 &&
        stateAtDecision != 17) {
        HostCharacterAimPose(character, 0);
        bAimReleased = 0;
    } else if (bAimReleased == 0) {
        HostCharacterAimEndA(character);
        HostCharacterAimEndB(character);
        bAimReleased = 1;
    }
}

void WriteAimBranches() {
    const uint8_t mouseBranch = HostMouseAimFlag() != 0 ? JumpIfEqual : JumpIfNotEqual;
    WriteHostByte(MouseAimBranchA, mouseBranch);
    WriteHostByte(MouseAimBranchB, mouseBranch);
    WriteHostByte(AimingBranch, bAiming == 1 ? JumpIfNotEqual : JumpIfEqual);
}

// Entered in place of the host's camera step (a method of the camera object).
void __thiscall AimingHook(HostCameraObject*) {
    const bool onFoot = Settings.bProcess_FollowPed;
    if (onFoot) UpdateAimMode();
    // While a target is held the host's own step would swing the camera to it.
    if (!onFoot || FocusedTargetLock() != 1) HostCameraStep(&HostCamera());
    StampHandControl();
    if (!onFoot) return;

    const HostCharacter* character = HostGetPlayerCharacter();
    const int32_t stateAtDecision = character != nullptr ? character->state : 0;
    bAiming = DecideAiming(character) ? 1 : 0;

    HandleLockOn();

    const Vector3& front = HostCam().front;
    // Subtracted on the x87 stack, as the host's value arrives, then stored as a float.
    const float heading = float(HostAngleOfVector(front.x, front.y) - QuarterTurn);
    if (TurnConditionsHold()) {
        TurnAndPose(heading, stateAtDecision);
    } else {
        bAimReleased = 0;
        bPlayerFacesCamera = 0;
    }

    WriteAimBranches();
    HostCamera().crosshairX = 0.5f;
    HostCamera().crosshairY = 0.5f;
}

}  // namespace

void InstallAimingHook() {
    WriteHostCall(CameraStepCallSite, reinterpret_cast<const void*>(&AimingHook));
}
