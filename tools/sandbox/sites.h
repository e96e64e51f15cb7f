// The host sites the two plug-ins are documented to write, per build, and the names of the
// host routines the sandbox plays (for the patch map and the call counts).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sandbox/scenario.h"

namespace sandbox {

enum class Plugin { Camera, RouteGuide };

struct SiteInfo {
    Plugin plugin;
    uint32_t address;
    uint32_t size;          // bytes written
    const char* routine;    // the plug-in routine a CALL/JMP reaches, or what the bytes are
    const char* feature;    // the feature and the setting that installs it
    uint32_t hostTarget;    // the host routine the host's own CALL there reaches, or 0
    const char* hostName;   // its name
};

const std::vector<SiteInfo>& DocumentedSites(HostBuild build);
// The documented site that covers address, or null.
const SiteInfo* FindSite(HostBuild build, uint32_t address);

// Name of a host routine the sandbox plays, by address (empty when unknown).
std::string HostRoutineName(HostBuild build, uint32_t address);

const char* PluginFile(Plugin plugin);

}  // namespace sandbox
