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
Registration registration2{InstallAimingHook};
Registration registration3{DoNothing};
Registration registration4{InstallCrosshair};
Registration registration5{InstallControlsPage};
Registration registration6{InstallPadOverrides};
Registration registration7{InstallPlayerUpdateHook};
Registration registration8{InstallTorsoFix};
Registration registration9{InstallAimGuardHook};
Registration registration10{DoNothing};
Registration registration11{DoNothing};
Registration registration12{DoNothing};

}  // namespace
