// The sandbox driving the built plug-ins through two shipped scenarios, and its handling of
// scenario files that are not right.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/sandbox/sandbox.h"
#include "tools/sandbox/scenario.h"
#include "tools/sandbox/simulation.h"

namespace {

using namespace sandbox;

std::string ScenarioPath(const std::string& name) {
    return std::string(SANDBOX_SCENARIO_DIR) + "/" + name + ".scn";
}

struct Ran {
    Scenario scenario;
    ScenarioRun run;
};

// Parses and runs a shipped scenario.
void RunShipped(const std::string& name, Ran& ran) {
    std::vector<ParseError> errors;
    ASSERT_TRUE(ParseScenario(ScenarioPath(name), name, ran.scenario, errors))
        << (errors.empty() ? "" : errors[0].text());
    std::string error;
    ASSERT_TRUE(RunScenario(ran.scenario, ran.run, error)) << error;
    ASSERT_EQ(int(ran.run.frames.size()), ran.scenario.frameCount);
}

// Whether the way from the pivot to the camera passes through a wall before its end: the
// camera would then see the pivot from the far side of the wall.
bool CrossesWallBeforeEnd(const Wall& wall, Vector3 from, Vector3 to) {
    constexpr double Slack = 1e-3;  // the camera may rest on the wall itself
    const double dx = to.x - from.x, dy = to.y - from.y;
    if (!wall.box) {
        const double ex = wall.x2 - wall.x1, ey = wall.y2 - wall.y1;
        const double denominator = dx * ey - dy * ex;
        if (denominator == 0) return false;
        const double s = ((wall.x1 - from.x) * ey - (wall.y1 - from.y) * ex) / denominator;
        const double u = ((wall.x1 - from.x) * dy - (wall.y1 - from.y) * dx) / denominator;
        return s >= 0 && s < 1 - Slack && u >= 0 && u <= 1;
    }
    const double x0 = std::min(wall.x1, wall.x2) + Slack, x1 = std::max(wall.x1, wall.x2) - Slack;
    const double y0 = std::min(wall.y1, wall.y2) + Slack, y1 = std::max(wall.y1, wall.y2) - Slack;
    for (int i = 0; i <= 1000; ++i) {
        const double f = i / 1000.0, x = from.x + dx * f, y = from.y + dy * f;
        if (x > x0 && x < x1 && y > y0 && y < y1) return true;
    }
    return false;
}

TEST(SandboxCameraScenario, CameraNeverEndsAFrameBeyondAWallAndThePitchKeepsItsClamp) {
    Ran ran;
    RunShipped("wall_pull_in", ran);
    ASSERT_FALSE(ran.scenario.walls.empty());
    int followFrames = 0, cutFrames = 0;
    for (const FrameRecord& frame : ran.run.frames) {
        if (frame.camera != CameraRan::Follow) continue;
        ++followFrames;
        for (const SightTest& test : frame.sightTests) cutFrames += test.hit;
        for (const Wall& wall : ran.scenario.walls)
            EXPECT_FALSE(CrossesWallBeforeEnd(wall, frame.pivot, frame.cameraPosition))
                << "frame " << frame.frame << ": the camera ended beyond a wall";
        // -50 to 80 degrees, as single-precision radians.
        EXPECT_GE(frame.pitch, -0.87266469f) << "frame " << frame.frame;
        EXPECT_LE(frame.pitch, 1.3962634f) << "frame " << frame.frame;
    }
    EXPECT_EQ(followFrames, ran.scenario.frameCount);
    // The scenario is only a check when walls did cut the line of sight and the pitch did
    // reach the clamp.
    EXPECT_GT(cutFrames, 10);
    EXPECT_FLOAT_EQ(ran.run.frames.back().pitch, -0.87266469f);
}

float SquaredRadius(Vector2 p) { return p.x * p.x + p.y * p.y; }

TEST(SandboxRouteScenario, TheBandIsSubmittedExactlyForSegmentsWithAnEndInsideRadius1point2) {
    Ran ran;
    RunShipped("route_hospital_1_1", ran);
    int drawn = 0, skipped = 0;
    for (const FrameRecord& frame : ran.run.frames) {
        const std::vector<Vector2>& nodes = frame.routeRadar;
        std::vector<int> quadsOfSegment(nodes.empty() ? 0 : nodes.size() - 1, 0);
        for (const DrawnQuad& quad : frame.quads) {
            if (quad.mask) continue;
            EXPECT_TRUE(quad.submitted) << "frame " << frame.frame;
            // Corners 1 and 3 lie either side of the segment's start, 2 and 4 of its end.
            const Vector2 a = ScreenToRadar(ran.scenario, {(quad.corner[0].x + quad.corner[2].x) / 2,
                                                           (quad.corner[0].y + quad.corner[2].y) / 2});
            const Vector2 b = ScreenToRadar(ran.scenario, {(quad.corner[1].x + quad.corner[3].x) / 2,
                                                           (quad.corner[1].y + quad.corner[3].y) / 2});
            int segment = -1;
            for (size_t i = 0; i + 1 < nodes.size(); ++i)
                if (std::hypot(a.x - nodes[i].x, a.y - nodes[i].y) < 1e-3 &&
                    std::hypot(b.x - nodes[i + 1].x, b.y - nodes[i + 1].y) < 1e-3)
                    segment = int(i);
            ASSERT_GE(segment, 0) << "frame " << frame.frame << ": a band that joins no two nodes";
            ++quadsOfSegment[segment];
        }
        for (size_t i = 0; i < quadsOfSegment.size(); ++i) {
            const bool endInside = SquaredRadius(nodes[i]) <= 1.44f || SquaredRadius(nodes[i + 1]) <= 1.44f;
            EXPECT_EQ(quadsOfSegment[i], endInside ? 1 : 0) << "frame " << frame.frame << " segment " << i;
            (endInside ? drawn : skipped) += 1;
        }
    }
    // Both kinds of segment occur, so the rule was put to the test.
    EXPECT_GT(drawn, 100);
    EXPECT_GT(skipped, 100);
}

std::filesystem::path FreshFolder(const char* name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TEST(SandboxCommandLine, WritesTheFourOutputsOfEachScenario) {
    const std::filesystem::path out = FreshFolder("sandbox-outputs");
    std::ostringstream text, errors;
    ASSERT_EQ(SandboxMain({"--out", out.string(), ScenarioPath("orbit_mouse"),
                           ScenarioPath("route_default_1_0")},
                          text, errors),
              0)
        << errors.str();
    for (const char* scenario : {"orbit_mouse", "route_default_1_0"})
        for (const char* file : {"picture.svg", "patches.txt", "summary.txt", "frames.tsv"})
            EXPECT_GT(std::filesystem::file_size(out / scenario / file), 100u) << scenario << "/" << file;
    std::stringstream map;
    map << std::ifstream(out / "orbit_mouse" / "patches.txt").rdbuf();
    EXPECT_NE(map.str().find("0x459A7C  5"), std::string::npos);
    EXPECT_NE(map.str().find("(OnFootCameraDispatch)"), std::string::npos);
    std::filesystem::remove_all(out);
}

TEST(SandboxCommandLine, AMalformedScenarioIsNamedByFileAndLineAndFailsTheRun) {
    const std::filesystem::path out = FreshFolder("sandbox-malformed");
    const std::filesystem::path bad = out / "bad.scn";
    std::ofstream(bad) << "player 0 0 1 90\nfram 10\n";
    std::ostringstream text, errors;
    EXPECT_EQ(SandboxMain({"--out", out.string(), bad.string()}, text, errors), 1);
    EXPECT_NE(errors.str().find("bad.scn:2: unknown command 'fram'"), std::string::npos) << errors.str();
    EXPECT_FALSE(std::filesystem::exists(out / "bad"));

    std::ostringstream missingText, missingErrors;
    EXPECT_EQ(SandboxMain({(out / "absent.scn").string()}, missingText, missingErrors), 1);
    EXPECT_NE(missingErrors.str().find("absent.scn: cannot open"), std::string::npos);

    std::ostringstream usageText, usageErrors;
    EXPECT_EQ(SandboxMain({"--frames"}, usageText, usageErrors), 2);
    std::filesystem::remove_all(out);
}

TEST(SandboxScenarioFile, EachProblemNamesItsLine) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"player 0 0 1\nframe\n", 1, "'player' takes X Y Z FACING, got 3 arguments"},
        {"frame\nmouse left 0\n", 2, "'mouse': 'left' is not a number"},
        {"frame 0\n", 1, "'frame': N 0 is outside 1 .. 100000"},
        {"build 1.2\nframe\n", 1, "'build' takes 1.0 or 1.1"},
        {"frame\nset fFOV 80\n", 2, "'set' must come before the first 'frame' line"},
        {"set fFov 80\nframe\n", 1, "'set': 'fFov' is not a setting of iii_kelvora.ini"},
        {"# a comment\n\nblip 1 2 3 red\nframe\n", 3, "'blip': the colour 'red' is not six hex digits"},
        {"keys alt numpad10\nframe\n", 1, "'keys': unknown key 'numpad10'"},
        {"wall 1 1 1 1\nframe\n", 1, "'wall' needs two different end points"},
        {"aim maybe\nframe\n", 1, "'aim' takes on or off"},
        {"player 0 0 1 90 # no frame line\n", 0, "no frames"},
    };
    for (const Case& c : cases) {
        Scenario scenario;
        std::vector<ParseError> errors;
        EXPECT_FALSE(ParseScenarioText(c.text, "test.scn", scenario, errors)) << c.text;
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors[0].line, c.line) << c.text;
        EXPECT_NE(errors[0].text().find(c.message), std::string::npos) << errors[0].text();
        EXPECT_EQ(errors[0].text().rfind(c.line ? "test.scn:" + std::to_string(c.line) + ": " : "test.scn: ", 0), 0u)
            << errors[0].text();
    }
}

}  // namespace
