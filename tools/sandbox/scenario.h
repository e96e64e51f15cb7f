// A sandbox scenario: a small text file, one command per line, read top to bottom. Scene
// commands (walls, roads, blips, settings, host build) describe the world; input commands
// (mouse, stick, player, aim, keys, ...) change what the simulated host feeds the plug-ins
// and stay in force until changed; `frame N` runs N host frames with the inputs as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sandbox {

enum class HostBuild { V10, V11 };

struct Wall {
    bool box = false;  // false: a segment from (x1, y1) to (x2, y2); true: an axis-aligned box
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float zMin = -1e6f, zMax = 1e6f;
};

struct Blip {
    float x = 0, y = 0, z = 0;
    uint32_t rgb = 0;  // 0xRRGGBB
};

struct Road {
    std::vector<float> xy;  // x0, y0, x1, y1, ...
};

// An input or event command, applied in file order between frames.
struct Step {
    std::string command;       // the command word, e.g. "mouse"
    std::vector<double> numbers;
    std::vector<std::string> words;
    int line = 0;
};

struct Scenario {
    std::string file;   // as given
    std::string name;   // file name without folder and extension: the output folder
    std::string title;
    HostBuild build = HostBuild::V10;
    bool loadCamera = true;
    bool loadRouteGuide = true;
    std::vector<std::pair<std::string, std::string>> settings;  // overrides, in file order
    enum class GInput { Absent, Idle, Active } ginput = GInput::Absent;
    enum class Picture { Automatic, Camera, Route } picture = Picture::Automatic;
    int screenWidth = 640, screenHeight = 480;
    float radarCentreX = 90, radarCentreY = 390, radarHalfSize = 60;
    float nodeSpacing = 12;
    std::vector<Wall> walls;
    std::vector<Road> roads;
    std::vector<Blip> blips;
    std::vector<Step> steps;
    int frameCount = 0;

    bool wantsRoutePicture() const;
};

struct ParseError {
    std::string file;
    int line;  // 0: the file as a whole
    std::string message;
    std::string text() const;
};

// Reads and checks a scenario file. Returns false with every problem found in errors.
bool ParseScenario(const std::string& path, const std::string& displayName, Scenario& out,
                   std::vector<ParseError>& errors);
// The same from text already read (the tests feed malformed text this way).
bool ParseScenarioText(const std::string& text, const std::string& displayName, Scenario& out,
                       std::vector<ParseError>& errors);

// The settings keys of iii_kelvora.ini that `set` accepts.
bool IsKnownSettingKey(const std::string& key);

// Windows virtual-key code of a key name in a `keys` line ("alt", "numpad5", "pagedown",
// "0x12"), or -1.
int KeyCodeOf(const std::string& name);

}  // namespace sandbox
