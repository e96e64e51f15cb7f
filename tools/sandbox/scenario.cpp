#include "tools/sandbox/scenario.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <sstream>

namespace sandbox {

namespace {

constexpr int MaxFrames = 100000;
constexpr int MaxRoadNodes = 1500;
constexpr int MaxBlips = 32;

const char* const SettingKeys[] = {
    "bEnable", "bProcess_FollowPed", "bProcess_FollowVeh", "fRightStickVerticalSensitivity",
    "fRightStickHorizontalSensitivity", "bControlVehParts", "bForceAutoAim", "bTorsoFix",
    "bNoAutoFoc", "keyWalk", "bIVOnFootCamera", "bIVVehicleCamera", "bDynamicFOV", "fFOV"};


std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    const size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream stream(text);
    for (std::string token; stream >> token;) tokens.push_back(token);
    return tokens;
}

bool ParseNumber(const std::string& token, double& value) {
    if (token.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(token.c_str(), &end);
    return end == token.c_str() + token.size() && errno == 0 && std::isfinite(value);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// Reads one scenario, line by line.
class Parser {
public:
    Parser(const std::string& displayName, Scenario& scenario, std::vector<ParseError>& errors)
        : file_(displayName), scenario_(scenario), errors_(errors) {}

    void Line(int number, const std::string& raw) {
        line_ = number;
        std::string text = raw;
        const size_t hash = text.find('#');
        if (hash != std::string::npos) text.erase(hash);
        text = Trim(text);
        if (text.empty()) return;
        std::vector<std::string> tokens = Tokens(text);
        command_ = tokens[0];
        args_.assign(tokens.begin() + 1, tokens.end());
        rest_ = Trim(text.substr(command_.size()));
        Command();
    }

    void Finish() {
        if (scenario_.frameCount == 0 && errorsBefore_ == errors_.size())
            errors_.push_back({file_, 0, "no frames: add a line 'frame N' to run N frames"});
    }

private:
    void Error(const std::string& message) { errors_.push_back({file_, line_, message}); }

    // The arguments as numbers: between min and max of them.
    bool Numbers(size_t min, size_t max, const char* usage, std::vector<double>& numbers) {
        if (args_.size() < min || args_.size() > max) {
            Error("'" + command_ + "' takes " + usage + ", got " + std::to_string(args_.size()) +
                  " argument" + (args_.size() == 1 ? "" : "s"));
            return false;
        }
        numbers.clear();
        for (const std::string& arg : args_) {
            double value;
            if (!ParseNumber(arg, value)) {
                Error("'" + command_ + "': '" + arg + "' is not a number (" + usage + ")");
                return false;
            }
            numbers.push_back(value);
        }
        return true;
    }

    bool InRange(double value, double min, double max, const char* what) {
        if (value >= min && value <= max) return true;
        std::ostringstream message;
        message << "'" << command_ << "': " << what << " " << value << " is outside " << min
                << " .. " << max;
        Error(message.str());
        return false;
    }

    bool Whole(double value, const char* what) {
        if (value == std::floor(value)) return true;
        Error("'" + command_ + "': " + what + " must be a whole number");
        return false;
    }

    bool Coordinates(const std::vector<double>& numbers, size_t count) {
        for (size_t i = 0; i < count && i < numbers.size(); ++i)
            if (!InRange(numbers[i], -100000, 100000, "coordinate")) return false;
        return true;
    }

    bool OnOff(bool& on) {
        if (args_.size() == 1 && (args_[0] == "on" || args_[0] == "off")) {
            on = args_[0] == "on";
            return true;
        }
        Error("'" + command_ + "' takes on or off");
        return false;
    }

    bool BeforeFirstFrame() {
        if (scenario_.frameCount == 0) return true;
        Error("'" + command_ + "' must come before the first 'frame' line");
        return false;
    }

    void AddStep(const std::vector<double>& numbers, std::vector<std::string> words = {}) {
        scenario_.steps.push_back({command_, numbers, std::move(words), line_});
    }

    void Wall(bool box) {
        std::vector<double> n;
        if (!Numbers(4, 6, "X1 Y1 X2 Y2 [ZMIN ZMAX]", n) || !Coordinates(n, 6)) return;
        if (n.size() == 5) return Error("'" + command_ + "' takes ZMIN and ZMAX together");
        sandbox::Wall wall;
        wall.box = box;
        wall.x1 = float(n[0]), wall.y1 = float(n[1]), wall.x2 = float(n[2]), wall.y2 = float(n[3]);
        if (n.size() == 6) {
            if (n[5] <= n[4]) return Error("'" + command_ + "': ZMAX must be above ZMIN");
            wall.zMin = float(n[4]), wall.zMax = float(n[5]);
        }
        if (box && (wall.x1 == wall.x2 || wall.y1 == wall.y2))
            return Error("'box' needs two opposite corners of a non-empty box");
        if (!box && wall.x1 == wall.x2 && wall.y1 == wall.y2)
            return Error("'wall' needs two different end points");
        scenario_.walls.push_back(wall);
    }

    void RoadLine() {
        std::vector<double> n;
        if (!Numbers(4, 400, "X1 Y1 X2 Y2 [X Y]...", n) || !Coordinates(n, n.size())) return;
        if (n.size() % 2 != 0) return Error("'road' takes pairs of coordinates X Y");
        Road road;
        for (double v : n) road.xy.push_back(float(v));
        for (size_t i = 2; i < road.xy.size(); i += 2) {
            const double length =
                std::hypot(road.xy[i] - road.xy[i - 2], road.xy[i + 1] - road.xy[i - 1]);
            roadNodes_ += int(std::ceil(length / scenario_.nodeSpacing)) + 1;
        }
        if (roadNodes_ > MaxRoadNodes)
            return Error("the roads need more than " + std::to_string(MaxRoadNodes) +
                         " path nodes; shorten them or raise 'nodespacing'");
        scenario_.roads.push_back(road);
    }

    // Roads along every grid line, with a vertex at every crossing so that they meet.
    void RoadGrid() {
        std::vector<double> n;
        if (!Numbers(5, 5, "X0 Y0 X1 Y1 STEP", n) || !Coordinates(n, 4)) return;
        const double x0 = std::min(n[0], n[2]), x1 = std::max(n[0], n[2]);
        const double y0 = std::min(n[1], n[3]), y1 = std::max(n[1], n[3]);
        const double step = n[4];
        if (step <= 0 || x1 - x0 < step || y1 - y0 < step)
            return Error("'roadgrid' needs a STEP above 0 and at most the grid's width and height");
        const int columns = int(std::floor((x1 - x0) / step + 1e-9));
        const int rows = int(std::floor((y1 - y0) / step + 1e-9));
        if ((columns + 1) * (rows + 1) > 400)
            return Error("'roadgrid' makes more than 400 crossings; use a larger STEP");
        std::vector<Road> roads;
        for (int i = 0; i <= columns; ++i) {
            Road road;
            for (int j = 0; j <= rows; ++j) road.xy.insert(road.xy.end(), {float(x0 + i * step), float(y0 + j * step)});
            roads.push_back(road);
        }
        for (int j = 0; j <= rows; ++j) {
            Road road;
            for (int i = 0; i <= columns; ++i) road.xy.insert(road.xy.end(), {float(x0 + i * step), float(y0 + j * step)});
            roads.push_back(road);
        }
        for (const Road& road : roads)
            for (size_t i = 2; i < road.xy.size(); i += 2)
                roadNodes_ += int(std::ceil(std::hypot(road.xy[i] - road.xy[i - 2],
                                                       road.xy[i + 1] - road.xy[i - 1]) /
                                            scenario_.nodeSpacing)) + 1;
        if (roadNodes_ > MaxRoadNodes)
            return Error("the roads need more than " + std::to_string(MaxRoadNodes) +
                         " path nodes; use fewer roads or raise 'nodespacing'");
        scenario_.roads.insert(scenario_.roads.end(), roads.begin(), roads.end());
    }

    void BlipLine() {
        if (args_.size() != 4) return Error("'blip' takes X Y Z RRGGBB");
        std::vector<std::string> coordinates(args_.begin(), args_.begin() + 3);
        const std::string colour = args_[3];
        args_ = coordinates;
        std::vector<double> n;
        if (!Numbers(3, 3, "X Y Z RRGGBB", n) || !Coordinates(n, 3)) return;
        char* end = nullptr;
        const unsigned long rgb = std::strtoul(colour.c_str(), &end, 16);
        if (colour.size() != 6 || end != colour.c_str() + 6)
            return Error("'blip': the colour '" + colour + "' is not six hex digits RRGGBB");
        if (scenario_.blips.size() >= MaxBlips)
            return Error("the host has room for 32 radar blips only");
        scenario_.blips.push_back({float(n[0]), float(n[1]), float(n[2]), uint32_t(rgb)});
    }

    void Command();

    std::string file_;
    Scenario& scenario_;
    std::vector<ParseError>& errors_;
    size_t errorsBefore_ = errors_.size();
    int line_ = 0;
    int roadNodes_ = 0;
    std::string command_;
    std::string rest_;
    std::vector<std::string> args_;
};

void Parser::Command() {
    std::vector<double> n;
    const std::string& c = command_;
    bool on = false;
    if (c == "title") {
        scenario_.title = rest_;
    } else if (c == "build") {
        if (!BeforeFirstFrame()) return;
        if (args_.size() == 1 && args_[0] == "1.0") scenario_.build = HostBuild::V10;
        else if (args_.size() == 1 && args_[0] == "1.1") scenario_.build = HostBuild::V11;
        else Error("'build' takes 1.0 or 1.1");
    } else if (c == "plugins") {
        if (!BeforeFirstFrame()) return;
        if (args_.empty()) return Error("'plugins' takes kelvora, gps or both");
        scenario_.loadCamera = scenario_.loadRouteGuide = false;
        for (const std::string& name : args_) {
            if (name == "kelvora") scenario_.loadCamera = true;
            else if (name == "gps") scenario_.loadRouteGuide = true;
            else return Error("'plugins': unknown plug-in '" + name + "' (kelvora or gps)");
        }
    } else if (c == "set") {
        if (!BeforeFirstFrame()) return;
        if (args_.size() < 2) return Error("'set' takes KEY VALUE");
        const std::string key = args_[0];
        const bool modelKey = key.rfind("ModelID", 0) == 0;
        if (!IsKnownSettingKey(key))
            return Error("'set': '" + key + "' is not a setting of iii_kelvora.ini" +
                         (modelKey ? " (ModelID0 .. ModelID20)" : ""));
        scenario_.settings.push_back({key, Trim(rest_.substr(key.size()))});
    } else if (c == "ginput") {
        using G = Scenario::GInput;
        const std::string state = args_.size() == 1 ? args_[0] : "";
        if (state != "on" && state != "idle" && state != "off")
            return Error("'ginput' takes on, idle or off");
        if (scenario_.frameCount == 0) {
            scenario_.ginput = state == "on" ? G::Active : state == "idle" ? G::Idle : G::Absent;
        } else if (state == "off" || scenario_.ginput == G::Absent) {
            return Error("GInput is loaded before the plug-ins or not at all: 'ginput " + state +
                         "' after the first frame can only switch a loaded GInput on or idle");
        }
        // The pad's state can change between frames as well.
        AddStep({}, {state});
    } else if (c == "picture") {
        if (args_.size() == 1 && args_[0] == "camera") scenario_.picture = Scenario::Picture::Camera;
        else if (args_.size() == 1 && args_[0] == "route") scenario_.picture = Scenario::Picture::Route;
        else Error("'picture' takes camera or route");
    } else if (c == "wall" || c == "box") {
        Wall(c == "box");
    } else if (c == "road") {
        RoadLine();
    } else if (c == "roadgrid") {
        RoadGrid();
    } else if (c == "nodespacing") {
        if (!Numbers(1, 1, "D", n) || !InRange(n[0], 0.5, 1000, "spacing")) return;
        if (!scenario_.roads.empty()) return Error("'nodespacing' must come before the roads");
        scenario_.nodeSpacing = float(n[0]);
    } else if (c == "blip") {
        BlipLine();
    } else if (c == "screen") {
        if (!BeforeFirstFrame() || !Numbers(2, 2, "W H", n)) return;
        if (!InRange(n[0], 64, 8192, "width") || !InRange(n[1], 64, 8192, "height")) return;
        if (!Whole(n[0], "the width") || !Whole(n[1], "the height")) return;
        scenario_.screenWidth = int(n[0]), scenario_.screenHeight = int(n[1]);
    } else if (c == "radarbox") {
        if (!BeforeFirstFrame() || !Numbers(3, 3, "CX CY HALF", n)) return;
        if (!InRange(n[2], 4, 4096, "half size")) return;
        scenario_.radarCentreX = float(n[0]), scenario_.radarCentreY = float(n[1]);
        scenario_.radarHalfSize = float(n[2]);
    } else if (c == "frame") {
        if (args_.empty()) n = {1};
        else if (!Numbers(1, 1, "[N]", n)) return;
        if (!Whole(n[0], "N") || !InRange(n[0], 1, MaxFrames, "N")) return;
        if (scenario_.frameCount + int(n[0]) > MaxFrames)
            return Error("more than " + std::to_string(MaxFrames) + " frames in all");
        scenario_.frameCount += int(n[0]);
        AddStep(n);
    } else if (c == "dt") {
        if (Numbers(1, 1, "MS", n) && Whole(n[0], "MS") && InRange(n[0], 1, 1000, "MS")) AddStep(n);
    } else if (c == "player") {
        if (Numbers(4, 4, "X Y Z FACING", n) && Coordinates(n, 3)) AddStep(n);
    } else if (c == "walk") {
        if (Numbers(2, 3, "VX VY [MEASURE]", n) && InRange(n[0], -100, 100, "VX") &&
            InRange(n[1], -100, 100, "VY") && (n.size() < 3 || InRange(n[2], 0, 100, "MEASURE")))
            AddStep(n);
    } else if (c == "vehicle") {
        if (!Numbers(4, 5, "X Y Z FACING [MODEL]", n) || !Coordinates(n, 3)) return;
        if (n.size() == 5 && (!Whole(n[4], "MODEL") || !InRange(n[4], 0, 5499, "MODEL"))) return;
        AddStep(n);
    } else if (c == "drive") {
        if (Numbers(1, 2, "SPEED [MEASURE]", n) && InRange(n[0], -100, 100, "SPEED") &&
            (n.size() < 2 || InRange(n[1], 0, 100, "MEASURE")))
            AddStep(n);
    } else if (c == "steer") {
        if (Numbers(1, 1, "DEG", n) && InRange(n[0], -180, 180, "DEG")) AddStep(n);
    } else if (c == "leave" || c == "behind" || c == "reset") {
        if (Numbers(0, 0, "no arguments", n)) AddStep(n);
    } else if (c == "camera") {
        if (Numbers(2, 2, "HEADING PITCH", n) && InRange(n[1], -90, 90, "PITCH")) AddStep(n);
    } else if (c == "mouse") {
        if (Numbers(2, 2, "DX DY", n) && InRange(n[0], -1000, 1000, "DX") &&
            InRange(n[1], -1000, 1000, "DY"))
            AddStep(n);
    } else if (c == "mousesens") {
        if (Numbers(2, 2, "H V", n) && InRange(n[0], 0, 1, "H") && InRange(n[1], 0, 1, "V"))
            AddStep(n);
    } else if (c == "stick") {
        if (Numbers(2, 2, "X Y", n) && Whole(n[0], "X") && Whole(n[1], "Y") &&
            InRange(n[0], -32768, 32767, "X") && InRange(n[1], -32768, 32767, "Y"))
            AddStep(n);
    } else if (c == "aim" || c == "fire" || c == "lockrequest") {
        if (OnOff(on)) AddStep({on ? 1.0 : 0.0});
    } else if (c == "weapon") {
        if (Numbers(1, 1, "TYPE", n) && Whole(n[0], "TYPE") && InRange(n[0], 0, 12, "TYPE"))
            AddStep(n);
    } else if (c == "target") {
        if (Numbers(3, 3, "X Y Z", n) && Coordinates(n, 3)) AddStep(n);
    } else if (c == "lockflag") {
        if (Numbers(1, 1, "N", n) && Whole(n[0], "N") && InRange(n[0], 1, 255, "N")) AddStep(n);
    } else if (c == "zoom") {
        if (Numbers(1, 1, "STEP", n) && InRange(n[0], 0, 10, "STEP")) AddStep(n);
    } else if (c == "camstate") {
        if (Numbers(1, 1, "N", n) && Whole(n[0], "N") && InRange(n[0], 0, 1000, "N")) AddStep(n);
    } else if (c == "keys") {
        if (args_.empty()) return Error("'keys' takes key names, or none");
        std::vector<double> codes;
        if (!(args_.size() == 1 && args_[0] == "none")) {
            for (const std::string& name : args_) {
                const int code = KeyCodeOf(name);
                if (code < 0) return Error("'keys': unknown key '" + name + "'");
                codes.push_back(code);
            }
        }
        AddStep(codes);
    } else if (c == "area") {
        if (Numbers(1, 1, "N", n) && Whole(n[0], "N") && InRange(n[0], 0, 9, "N")) AddStep(n);
    } else if (c == "radar") {
        if (Numbers(1, 2, "RANGE [ROTATION]", n) && InRange(n[0], 1, 100000, "RANGE")) AddStep(n);
    } else {
        Error("unknown command '" + c + "' (see ./sandbox.sh --help)");
    }
}

}  // namespace

bool Scenario::wantsRoutePicture() const {
    if (picture != Picture::Automatic) return picture == Picture::Route;
    return !roads.empty() || !blips.empty() || !loadCamera || build != HostBuild::V10;
}

std::string ParseError::text() const {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

bool ParseScenarioText(const std::string& text, const std::string& displayName, Scenario& out,
                       std::vector<ParseError>& errors) {
    const size_t errorsBefore = errors.size();
    out = Scenario{};
    out.file = displayName;
    out.name = BaseName(displayName);
    Parser parser(displayName, out, errors);
    std::istringstream stream(text);
    int number = 0;
    for (std::string line; std::getline(stream, line);) parser.Line(++number, line);
    parser.Finish();
    if (out.title.empty()) out.title = out.name;
    return errors.size() == errorsBefore;
}

bool ParseScenario(const std::string& path, const std::string& displayName, Scenario& out,
                   std::vector<ParseError>& errors) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        errors.push_back({displayName, 0, "cannot open the scenario file"});
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseScenarioText(text.str(), displayName, out, errors);
}

bool IsKnownSettingKey(const std::string& key) {
    for (const char* known : SettingKeys)
        if (key == known) return true;
    for (int i = 0; i <= 20; ++i)
        if (key == "ModelID" + std::to_string(i)) return true;
    return false;
}

int KeyCodeOf(const std::string& name) {
    struct Named {
        const char* name;
        int code;
    };
    static const Named named[] = {{"alt", 0x12},      {"ctrl", 0x11},     {"shift", 0x10},
                                  {"subtract", 0x6D}, {"pageup", 0x21},   {"pagedown", 0x22}};
    for (const Named& key : named)
        if (name == key.name) return key.code;
    if (name.size() == 7 && name.rfind("numpad", 0) == 0 && name[6] >= '0' && name[6] <= '9')
        return 0x60 + (name[6] - '0');
    if (name.size() > 2 && name.size() <= 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        char* end = nullptr;
        const unsigned long code = std::strtoul(name.c_str() + 2, &end, 16);
        if (end == name.c_str() + name.size() && code > 0 && code < 256) return int(code);
    }
    return -1;
}

}  // namespace sandbox
