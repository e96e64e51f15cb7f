#include "tools/sandbox/sandbox.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "tools/sandbox/report.h"
#include "tools/sandbox/scenario.h"
#include "tools/sandbox/simulation.h"

namespace sandbox {

namespace {

const char Usage[] =
    "usage: simhost.exe libsandbox.dll [--out DIR] [--help] SCENARIO...\n"
    "Runs each scenario file in the simulated host with the built dist/iii_kelvora.asi and\n"
    "dist/gps.asi and writes DIR/<scenario>/picture.svg, patches.txt, summary.txt and\n"
    "frames.tsv (DIR defaults to out\\sandbox). Use ./sandbox.sh, which builds what it needs;\n"
    "the scenario commands are listed in tools/sandbox/commands.txt.\n";

bool WriteText(const std::filesystem::path& path, const std::string& text, std::ostream& err) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (file) return true;
    err << "sandbox: cannot write " << DisplayPath(path.string()) << "\n";
    return false;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

std::string DisplayPath(const std::string& path) {
    std::string shown = path;
    for (char& c : shown)
        if (c == '\\') c = '/';
    if (shown.size() > 3 && (shown[0] == 'Z' || shown[0] == 'z') && shown[1] == ':' && shown[2] == '/')
        shown.erase(0, 2);
    return shown;
}

int SandboxMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::filesystem::path outputRoot = "out\\sandbox";
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << Usage;
            return 0;
        }
        if (args[i] == "--out") {
            if (i + 1 == args.size()) {
                err << "sandbox: --out needs a folder\n" << Usage;
                return 2;
            }
            outputRoot = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            err << "sandbox: unknown option " << args[i] << "\n" << Usage;
            return 2;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) {
        err << "sandbox: no scenario given\n" << Usage;
        return 2;
    }

    int failures = 0;
    std::vector<Scenario> scenarios;
    std::set<std::string> names;
    for (const std::string& file : files) {
        Scenario scenario;
        std::vector<ParseError> errors;
        if (!ParseScenario(file, DisplayPath(file), scenario, errors)) {
            for (const ParseError& error : errors) err << error.text() << "\n";
            ++failures;
            continue;
        }
        if (!names.insert(scenario.name).second) {
            err << DisplayPath(file) << ": another scenario is also named '" << scenario.name
                << "'; their outputs would overwrite each other\n";
            ++failures;
            continue;
        }
        scenarios.push_back(std::move(scenario));
    }

    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    int totalFrames = 0, ran = 0;
    for (size_t i = 0; i < scenarios.size(); ++i) {
        const Scenario& scenario = scenarios[i];
        out << "[" << i + 1 << "/" << scenarios.size() << "] " << scenario.name << ": " << scenario.title << std::endl;
        LARGE_INTEGER scenarioStart;
        QueryPerformanceCounter(&scenarioStart);
        int reported = 0;
        auto progress = [&](int done, int all) {
            // Long runs show how far they got, about once a second's worth of frames.
            if (all < 3000 || done * 10 / all == reported) return;
            reported = done * 10 / all;
            out << "      frame " << done << " of " << all << std::endl;
        };
        ScenarioRun run;
        std::string error;
        if (!RunScenario(scenario, run, error, progress)) {
            err << scenario.file << ": cannot run: " << error << "\n";
            ++failures;
            continue;
        }
        const std::filesystem::path folder = outputRoot / scenario.name;
        std::error_code created;
        std::filesystem::create_directories(folder, created);
        if (created) {
            err << "sandbox: cannot create " << DisplayPath(folder.string()) << "\n";
            ++failures;
            continue;
        }
        const bool written = WriteText(folder / "picture.svg", PictureSvg(run), err) &&
                             WriteText(folder / "patches.txt", PatchMapText(run), err) &&
                             WriteText(folder / "summary.txt", SummaryText(run), err) &&
                             WriteText(folder / "frames.tsv", FrameTableText(run), err);
        if (!written) {
            ++failures;
            continue;
        }
        QueryPerformanceCounter(&now);
        totalFrames += int(run.frames.size());
        ++ran;
        char line[160];
        std::snprintf(line, sizeof line, "      %zu frames, %zu start-up writes, %.2f s -> %s\n",
                      run.frames.size(), run.patches.size(), Seconds(scenarioStart, now),
                      DisplayPath(folder.string()).c_str());
        out << line << std::flush;
    }
    QueryPerformanceCounter(&now);
    char line[120];
    std::snprintf(line, sizeof line, "%d of %zu scenarios ran, %d frames, %.2f s\n", ran,
                  files.size(), totalFrames, Seconds(start, now));
    out << line;
    if (failures) err << "sandbox: " << failures << " scenario" << (failures == 1 ? "" : "s")
                      << " failed\n";
    out.flush();
    err.flush();
    return failures ? 1 : 0;
}

}  // namespace sandbox
