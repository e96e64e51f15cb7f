// Which build of the host executable is running, told by a four-byte signature in its
// start-up code. The camera plug-in knows build 1.0 only.
#pragma once

#include <cstdint>

// -1 until the first probe, then 0 (unrecognised) or 1 to 6 (see host_build.cpp).
extern int32_t HostBuildIndex;

// The build-1.0 address of a host routine when build 1.0 is running, else 0.
uint32_t SelectHostAddress(uint32_t build10Address);

// True when the probe finds build 1.0.
bool IsHostBuild10();
