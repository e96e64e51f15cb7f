// The plug-in's own crosshair: a white textured square around the host camera's crosshair
// point, drawn from the host's HUD drawing while the player aims a gun on foot.
#include "camera_plugin/aiming/aim_state.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

constexpr HostAddress CrosshairDrawSite = 0x505EA9;
// Two host bytes cleared together with the takeover of the draw call.
constexpr HostAddress CrosshairByteA = 0x50554D;
constexpr HostAddress CrosshairByteB = 0x505628;

constexpr int16_t OnFootCamMode = 4;
constexpr float CornerOffset = 15.0f;  // from the crosshair point to the top-left corner
constexpr float SquareSize = 28.0f;
constexpr int32_t TextureRasterState = 1;
constexpr int32_t QuadVertexKind = 5;
constexpr int32_t QuadVertexCount = 4;
constexpr HostRgba White = {255, 255, 255, 255};

int16_t ActiveCamMode() {
    const HostCameraObject& camera = HostCamera();
    // Cam records lie back to back; the host keeps the index in range.
    return camera.cams[camera.activeCam].mode;
}

bool WeaponShowsCrosshair() {
    const HostCharacter* character = HostPlayerRecord0().character;
    if (character == nullptr) return false;
    const int32_t weapon = CurrentWeaponSlot(*character).type;
    const HostCharacter* focused = HostFocusedPlayer().character;
    if (focused != nullptr && focused->targetLock == 1) return weapon == 9;
    return (weapon >= 2 && weapon <= 6) || weapon == 9;
}

bool ShowsCrosshair() {
    if (bShoulderBlocked != 0) return false;
    if (HostFocusedPlayer().controlledVehicle != nullptr) return false;
    if (HostGetPlayerVehicle() != nullptr) return false;
    if (bAiming == 0) return false;
    if (ActiveCamMode() != OnFootCamMode) return false;
    const HostPad* pad = HostGetPad(0);
    if (pad == nullptr || pad->controlLock != 0) return false;
    return WeaponShowsCrosshair();
}

// Whole pixels of a HUD-scaled size, cut toward zero.
float ScaledPixels(float size) {
    return float(int32_t(HostVariable<float>(HostHudScaleAddress) * size));
}

// Entered by the host's HUD drawing; no arguments.
void __cdecl DrawCrosshair() {
    const HostCameraObject& camera = HostCamera();
    const float centreX = float(HostVariable<int32_t>(HostViewWidthAddress)) * camera.crosshairX;
    const float centreY = float(HostVariable<int32_t>(HostViewHeightAddress)) * camera.crosshairY;
    if (!ShowsCrosshair()) return;

    const float offset = ScaledPixels(CornerOffset);
    const float size = ScaledPixels(SquareSize);
    const float left = centreX - offset;
    const float top = centreY - offset;
    // The host's rectangle order: left, bottom, right, top.
    const float rect[4] = {left, top + size, left + size, top};
    HostQuadSetupFromRect(rect, &White, &White, &White, &White, 0);

    const HostTexture* texture = HostVariable<HostTexture*>(HostCrosshairTextureAddress);
    const uint32_t raster = texture != nullptr ? uint32_t(uintptr_t(texture->raster)) : 0;
    HostDrawStateSet(TextureRasterState, raster);
    HostSubmitVertices2D(QuadVertexKind, reinterpret_cast<void*>(HostVertexArray2DAddress),
                         QuadVertexCount);
    HostDrawStateSet(TextureRasterState, 0);
}

}  // namespace

void InstallCrosshair() {
    if (!Settings.bProcess_FollowPed) return;
    WriteHostByte(CrosshairByteA, 0);
    WriteHostByte(CrosshairByteB, 0);
    WriteHostCall(CrosshairDrawSite, reinterpret_cast<const void*>(&DrawCrosshair));
}
