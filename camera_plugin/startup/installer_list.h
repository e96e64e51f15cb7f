// The list of installers that patch the host at process attach. Each feature registers its
// installer during static initialisation; the list runs in reverse order of registration.
#pragma once

struct PatchInstaller {
    void (*install)();
    PatchInstaller* next;
};

extern PatchInstaller* InstallerList;

// Pushes the node at the head of the list.
void RegisterInstaller(PatchInstaller& node);

// Calls every installer from the head on, then empties the list.
void RunInstallers();
