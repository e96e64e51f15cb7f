// The sandbox's command line: reads scenario files, runs each in the simulated host and
// writes picture, patch map, summary and frame table into an output folder per scenario.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sandbox {

// Exit status: 0 all scenarios ran, 1 a scenario was malformed or could not run, 2 usage.
int SandboxMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A path as people wrote it: the Wine drive prefix of an absolute Unix path dropped.
std::string DisplayPath(const std::string& path);

}  // namespace sandbox
