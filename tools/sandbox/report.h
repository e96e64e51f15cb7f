// What the sandbox writes for a scenario into its output folder.
#pragma once

#include <string>

#include "tools/sandbox/simulation.h"

namespace sandbox {

// patches.txt: every host address each plug-in wrote at start-up.
std::string PatchMapText(const ScenarioRun& run);
// summary.txt: frames run, calls made to each host routine, the final camera state.
std::string SummaryText(const ScenarioRun& run);
// frames.tsv: one row per frame, for plotting or checking.
std::string FrameTableText(const ScenarioRun& run);
// picture.svg: the camera's or the route guide's picture.
std::string PictureSvg(const ScenarioRun& run);

}  // namespace sandbox
