#include "camera_plugin/startup/installer_list.h"

PatchInstaller* InstallerList = nullptr;

void RegisterInstaller(PatchInstaller& node) {
    node.next = InstallerList;
    InstallerList = &node;
}

void RunInstallers() {
    for (PatchInstaller* node = InstallerList; node != nullptr; node = node->next) node->install();
    InstallerList = nullptr;
}
