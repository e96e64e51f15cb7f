// Runs every registered frame case in the simulated host and prints ns per frame, heap
// allocations per frame and VirtualProtect calls per frame.
#include <windows.h>

#include <cstdio>

#include "tests/bench/frame_bench.h"
#include "tests/sim/fixture.h"

namespace bench {
std::vector<FrameCase>& FrameCases() {
    static std::vector<FrameCase> cases;
    return cases;
}
}  // namespace bench

extern "C" __declspec(dllexport) int RunTests(int argc, char** argv) {
    int frames = 20000;
    if (argc > 1) frames = std::atoi(argv[1]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::printf("%-32s %12s %14s %16s\n", "frame", "ns/frame", "allocs/frame", "protects/frame");
    for (const bench::FrameCase& frameCase : bench::FrameCases()) {
        sim::ResetHostMemory();
        sim::ResetSeam();
        sim::Recording = true;
        std::function<void()> frame = frameCase.setUp();
        sim::Recording = false;
        for (int i = 0; i < 100; ++i) frame();  // warm up
        sim::ResetSeam();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < frames; ++i) frame();
        QueryPerformanceCounter(&end);
        const double ns = double(end.QuadPart - start.QuadPart) * 1e9 / double(frequency.QuadPart);
        std::printf("%-32s %12.1f %14.3f %16.2f\n", frameCase.name.c_str(), ns / frames,
                    double(sim::Seam().allocations) / frames,
                    double(sim::Seam().protectCalls.size()) / frames);
        frame = nullptr;
    }
    std::fflush(stdout);
    return 0;
}
