// The per-frame benchmark: each case sets up the simulated host and the loaded plug-in once,
// then runs many frames through the patched sites with the doubles answering at once and
// recording nothing. Figures are printed, never asserted.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct FrameCase {
    std::string name;
    // Loads the plug-in and builds the scene; returns the frame to time. The returned
    // function keeps whatever it needs alive.
    std::function<std::function<void()>()> setUp;
};

std::vector<FrameCase>& FrameCases();

struct Registration {
    Registration(std::string name, std::function<std::function<void()>()> setUp) {
        FrameCases().push_back({std::move(name), std::move(setUp)});
    }
};

}  // namespace bench
