// Takeovers in the host's player-character code that complete free aiming: the aiming pose
// after the character's update, the locked target kept while aiming, and the torso turn
// switched off.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/settings_file.h"

// The assembler's name of a C or C++ global variable.
#define KELVORA_STRINGIFY2(x) #x
#define KELVORA_STRINGIFY(x) KELVORA_STRINGIFY2(x)
#define KELVORA_ASM_NAME(name) KELVORA_STRINGIFY(__USER_LABEL_PREFIX__) #name

namespace {

constexpr HostAddress CharacterUpdateCallSite = 0x4E72FC;
constexpr HostAddress ReleaseLockCallSite = 0x4F22A0;
constexpr HostAddress TorsoTurnRoutine = 0x4EDDB0;
constexpr int32_t NoAimPoseWeaponState = 2;

// Entered in place of the character's update step, a method without stack arguments.
void __thiscall PlayerUpdateHook(HostCharacter* hostCharacter) {
    HostCharacter* character = HostGetPlayerCharacter();
    // Without a player the step still runs, on the character the host gave.
    if (character == nullptr) {
        HostCharacterUpdateStep(hostCharacter);
        return;
    }
    HostCharacterUpdateStep(character);
    if (bAiming == 0) return;
    if (FireHeld() == 1) return;
    if (CurrentWeaponSlot(*character).state == NoAimPoseWeaponState) return;
    HostCharacterAimPose(character, 0);
}

}  // namespace

// Where the guard goes on when the player does not aim; read by its jump, so that no
// register of the host's call is touched.
extern "C" const HostAddress KelvoraReleaseLockRoutine = HostCharacterReleaseLockAddress;

namespace {

// Entered by the host's call to drop the character's locked target. While aiming it
// returns at once; otherwise it jumps into the host routine with the host's own ECX,
// stack and return address, so that the call has its usual effect and result.
__attribute__((naked)) void AimGuardHook() {
    asm("cmpb $0, " KELVORA_ASM_NAME(bAiming) "\n\t"
        "je 1f\n\t"
        "ret\n"
        "1:\n\t"
        "jmp *" KELVORA_ASM_NAME(KelvoraReleaseLockRoutine));
}

// Jumped to from the first byte of the host's torso-turn routine: return at once, removing
// its three stack arguments, with EAX as the caller left it.
__attribute__((naked)) void TorsoStub() { asm("ret $12"); }

}  // namespace

void InstallPlayerUpdateHook() {
    if (!Settings.bProcess_FollowPed) return;
    WriteHostCall(CharacterUpdateCallSite, reinterpret_cast<const void*>(&PlayerUpdateHook));
}

void InstallTorsoFix() {
    if (!Settings.bTorsoFix) return;
    WriteHostJump(TorsoTurnRoutine, reinterpret_cast<const void*>(&TorsoStub));
}

void InstallAimGuardHook() {
    if (!Settings.bProcess_FollowPed) return;
    WriteHostCall(ReleaseLockCallSite, reinterpret_cast<const void*>(&AimGuardHook));
}
