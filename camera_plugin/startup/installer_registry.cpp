// The registrations of the installer list, in the order of static initialisation. Kept in
// one translation unit so that the order, and with it the run order (the reverse), is fixed.
#include "camera_plugin/startup/installer_list.h"
#include "camera_plugin/startup/installers.h"

namespace {

void DoNothing() {}

struct Registration {
    PatchInstaller node;
    explicit Registration(void (*install)()) : node{install, nullptr} { RegisterInstaller(node); }
};

Registration registration1{InstallCameraHooks};
// Registration 2: InstallAimingHook
Registration registration3{DoNothing};
// Registration 4: InstallCrosshair
// Registration 5: InstallControlsPage
// Registration 6: InstallPadOverrides
// Registration 7: InstallPlayerUpdateHook
// Registration 8: InstallTorsoFix
// Registration 9: InstallAimGuardHook
Registration registration10{DoNothing};
Registration registration11{DoNothing};
Registration registration12{DoNothing};

}  // namespace
