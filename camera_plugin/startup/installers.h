// Every installer of the camera plug-in. Each tests its own settings and patches the host.
#pragma once

void InstallCameraHooks();
void InstallAimingHook();
void InstallCrosshair();
void InstallControlsPage();
void InstallPadOverrides();
void InstallPlayerUpdateHook();
void InstallTorsoFix();
void InstallAimGuardHook();
