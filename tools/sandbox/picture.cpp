// The scenario's picture as SVG: for the cameras a top-down view with small plots, for the
// route guide the radar as the plug-in drew on it, beside a map of the roads.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>

#include "tools/sandbox/report.h"

namespace sandbox {

namespace {

constexpr double Degrees = 180.0 / 3.141592653589793;
constexpr int Width = 960, Height = 640;

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (s.size() > 1 && s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string Colour(HostRgba c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

// A small SVG writer.
class Svg {
public:
    Svg() {
        out_ << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Width << "\" height=\""
             << Height << "\" viewBox=\"0 0 " << Width << " " << Height
             << "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n"
             << "<defs><pattern id=\"hatch\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\""
                " patternTransform=\"rotate(45)\"><rect width=\"6\" height=\"6\" fill=\"#9aa0a6\""
                " fill-opacity=\"0.25\"/><line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"6\" stroke=\"#5f6368\""
                " stroke-width=\"1.5\"/></pattern>\n"
                "<marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"8\" refY=\"5\" markerWidth=\"5\""
                " markerHeight=\"5\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"context-stroke\"/>"
                "</marker></defs>\n"
             << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    }
    std::string Finish() {
        out_ << "</svg>\n";
        return out_.str();
    }
    void Raw(const std::string& text) { out_ << text; }
    void Line(double x1, double y1, double x2, double y2, const std::string& style) {
        out_ << "<line x1=\"" << Num(x1) << "\" y1=\"" << Num(y1) << "\" x2=\"" << Num(x2)
             << "\" y2=\"" << Num(y2) << "\" " << style << "/>\n";
    }
    void Rect(double x, double y, double w, double h, const std::string& style) {
        out_ << "<rect x=\"" << Num(x) << "\" y=\"" << Num(y) << "\" width=\"" << Num(w)
             << "\" height=\"" << Num(h) << "\" " << style << "/>\n";
    }
    void Circle(double x, double y, double r, const std::string& style) {
        out_ << "<circle cx=\"" << Num(x) << "\" cy=\"" << Num(y) << "\" r=\"" << Num(r) << "\" "
             << style << "/>\n";
    }
    void Text(double x, double y, const std::string& text, const std::string& style = "") {
        out_ << "<text x=\"" << Num(x) << "\" y=\"" << Num(y) << "\" " << style << ">"
             << Escape(text) << "</text>\n";
    }
    void Poly(const std::vector<std::pair<double, double>>& points, bool closed,
              const std::string& style) {
        if (points.empty()) return;
        out_ << (closed ? "<polygon" : "<polyline") << " points=\"";
        for (const auto& [x, y] : points) out_ << Num(x) << "," << Num(y) << " ";
        out_ << "\" " << style << "/>\n";
    }
    void Cross(double x, double y, double size, const std::string& colour) {
        const std::string style = "stroke=\"" + colour + "\" stroke-width=\"2\"";
        Line(x - size, y - size, x + size, y + size, style);
        Line(x - size, y + size, x + size, y - size, style);
    }

private:
    std::ostringstream out_;
};

// World (x, y) to a panel on the page, +y up, equal scale on both axes.
struct MapView {
    double left, top, width, height;
    double minX = 0, minY = 0, scale = 1;

    void Fit(double x0, double y0, double x1, double y1) {
        const double margin = std::max(x1 - x0, y1 - y0) * 0.06 + 0.5;
        x0 -= margin, y0 -= margin, x1 += margin, y1 += margin;
        scale = std::min(width / (x1 - x0), height / (y1 - y0));
        minX = x0 - (width / scale - (x1 - x0)) / 2;
        minY = y0 - (height / scale - (y1 - y0)) / 2;
    }
    double X(double x) const { return left + (x - minX) * scale; }
    double Y(double y) const { return top + height - (y - minY) * scale; }
};

struct Bounds {
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    void Add(double x, double y) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    bool Empty() const { return x0 > x1; }
};

void Title(Svg& svg, const ScenarioRun& run, const std::string& detail) {
    svg.Text(16, 26, run.scenario->title, "font-size=\"18\" font-weight=\"bold\"");
    svg.Text(16, 44, detail, "font-size=\"12\" fill=\"#555\"");
}

// A step of 1, 2 or 5 times a power of ten that cuts span into about four parts.
double NiceStep(double span) {
    const double rough = span / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10 * power;
}

// A small plot of one value per frame, with grid lines at round values.
void Plot(Svg& svg, double left, double top, double width, double height, const std::string& label,
          const std::vector<double>& values, const std::vector<std::pair<double, std::string>>& guides,
          const std::string& colour) {
    svg.Rect(left, top, width, height, "fill=\"#fafafa\" stroke=\"#ccc\"");
    svg.Text(left, top - 5, label, "font-size=\"12\" font-weight=\"bold\"");
    if (values.empty()) return;
    double low = *std::min_element(values.begin(), values.end());
    double high = *std::max_element(values.begin(), values.end());
    for (const auto& guide : guides) low = std::min(low, guide.first), high = std::max(high, guide.first);
    if (high - low < 2) low -= 1, high += 1;
    const double pad = (high - low) * 0.06;
    low -= pad, high += pad;
    auto x = [&](size_t i) { return left + width * (values.size() == 1 ? 0.5 : double(i) / double(values.size() - 1)); };
    auto y = [&](double v) { return top + height - (v - low) / (high - low) * height; };
    const double step = NiceStep(high - low);
    for (double tick = std::ceil(low / step) * step; tick <= high; tick += step) {
        svg.Line(left, y(tick), left + width, y(tick), "stroke=\"#e8e8e8\"");
        svg.Text(left - 4, y(tick) + 3, Num(tick), "font-size=\"9\" fill=\"#777\" text-anchor=\"end\"");
    }
    for (const auto& [value, text] : guides) {
        svg.Line(left, y(value), left + width, y(value), "stroke=\"#d93025\" stroke-dasharray=\"4 3\"");
        svg.Text(left + width - 2, y(value) - 3, text, "font-size=\"9\" fill=\"#d93025\" text-anchor=\"end\"");
    }
    std::vector<std::pair<double, double>> points;
    for (size_t i = 0; i < values.size(); ++i) points.push_back({x(i), y(values[i])});
    svg.Poly(points, false, "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.6\"");
    svg.Text(left, top + height + 11, "frame 1", "font-size=\"9\" fill=\"#777\"");
    svg.Text(left + width, top + height + 11, std::to_string(values.size()),
             "font-size=\"9\" fill=\"#777\" text-anchor=\"end\"");
}

const char* CameraColour(CameraRan camera) {
    switch (camera) {
        case CameraRan::Follow: return "#e8710a";
        case CameraRan::Aim: return "#d93025";
        case CameraRan::Vehicle: return "#12a4b8";
        default: return "#dadce0";
    }
}

// A strip with one cell per frame.
void Strip(Svg& svg, double left, double top, double width, const std::string& label,
           const std::vector<std::string>& colours) {
    svg.Text(left - 4, top + 8, label, "font-size=\"9\" text-anchor=\"end\" fill=\"#555\"");
    if (colours.empty()) return;
    // One rectangle for each run of frames of the same colour.
    const double cell = width / double(colours.size());
    for (size_t i = 0; i < colours.size();) {
        size_t end = i + 1;
        while (end < colours.size() && colours[end] == colours[i]) ++end;
        if (!colours[i].empty())
            svg.Rect(left + cell * double(i), top, cell * double(end - i) + 0.3, 10,
                     "fill=\"" + colours[i] + "\"");
        i = end;
    }
    svg.Rect(left, top, width, 10, "fill=\"none\" stroke=\"#ccc\"");
}

std::string CameraPicture(const ScenarioRun& run) {
    const Scenario& scenario = *run.scenario;
    const std::vector<FrameRecord>& frames = run.frames;
    Svg svg;
    std::string detail = "camera, host build " +
                         std::string(scenario.build == HostBuild::V10 ? "1.0" : "1.1") + ", " +
                         std::to_string(frames.size()) + " frames";
    for (const auto& [key, value] : scenario.settings) detail += ", " + key + "=" + value;
    if (scenario.ginput == Scenario::GInput::Active) detail += ", GInput pad in use";
    Title(svg, run, detail);

    MapView map{16, 60, 560, 560};
    Bounds bounds;
    for (const FrameRecord& f : frames) {
        if (f.camera == CameraRan::None) continue;
        bounds.Add(f.cameraPosition.x, f.cameraPosition.y);
        bounds.Add(f.pivot.x, f.pivot.y);
        bounds.Add(f.subject.x, f.subject.y);
    }
    if (bounds.Empty())
        for (const FrameRecord& f : frames) bounds.Add(f.subject.x, f.subject.y);
    if (bounds.Empty()) bounds.Add(0, 0);
    for (const Step& step : scenario.steps)
        if (step.command == "target") bounds.Add(step.numbers[0], step.numbers[1]);
    const Bounds scene = bounds;
    for (const Wall& wall : scenario.walls) {
        // Long walls are cut to the neighbourhood of the action.
        auto clampX = [&](double x) { return std::clamp(x, scene.x0 - 2, scene.x1 + 2); };
        auto clampY = [&](double y) { return std::clamp(y, scene.y0 - 2, scene.y1 + 2); };
        bounds.Add(clampX(wall.x1), clampY(wall.y1));
        bounds.Add(clampX(wall.x2), clampY(wall.y2));
    }
    map.Fit(bounds.x0, bounds.y0, bounds.x1, bounds.y1);
    svg.Rect(map.left, map.top, map.width, map.height, "fill=\"#fcfcfc\" stroke=\"#bbb\"");
    svg.Raw("<clipPath id=\"mapclip\"><rect x=\"" + Num(map.left) + "\" y=\"" + Num(map.top) +
            "\" width=\"" + Num(map.width) + "\" height=\"" + Num(map.height) +
            "\"/></clipPath>\n<g clip-path=\"url(#mapclip)\">\n");
    // Grid, one line per world unit (or per 5 or 10 when zoomed out).
    const double span = map.width / map.scale;
    const double step = span > 120 ? 20 : span > 60 ? 10 : span > 25 ? 5 : 1;
    for (double x = std::floor(map.minX / step) * step; x < map.minX + span; x += step)
        svg.Line(map.X(x), map.top, map.X(x), map.top + map.height, "stroke=\"#eee\"");
    for (double y = std::floor(map.minY / step) * step; y < map.minY + map.height / map.scale; y += step)
        svg.Line(map.left, map.Y(y), map.left + map.width, map.Y(y), "stroke=\"#eee\"");

    for (const Wall& wall : scenario.walls) {
        if (wall.box)
            svg.Rect(map.X(std::min(wall.x1, wall.x2)), map.Y(std::max(wall.y1, wall.y2)),
                     std::fabs(wall.x2 - wall.x1) * map.scale, std::fabs(wall.y2 - wall.y1) * map.scale,
                     "fill=\"#c7c7c7\" stroke=\"#555\" stroke-width=\"1.5\"");
        else
            svg.Line(map.X(wall.x1), map.Y(wall.y1), map.X(wall.x2), map.Y(wall.y2),
                     "stroke=\"#555\" stroke-width=\"5\" stroke-linecap=\"round\"");
    }
    // Lines of sight that a wall cut, from their start to the cut.
    size_t cutCount = 0;
    for (const FrameRecord& f : frames)
        for (const SightTest& test : f.sightTests)
            if (test.hit && cutCount++ < 400)
                svg.Line(map.X(test.start.x), map.Y(test.start.y), map.X(test.hitPosition.x),
                         map.Y(test.hitPosition.y), "stroke=\"#d93025\" stroke-opacity=\"0.25\"");
    cutCount = 0;
    for (const FrameRecord& f : frames)
        for (const SightTest& test : f.sightTests)
            if (test.hit && cutCount++ < 400)
                svg.Cross(map.X(test.hitPosition.x), map.Y(test.hitPosition.y), 3.5, "#d93025");

    std::vector<std::pair<double, double>> subjectPath, pivotPath, cameraPath;
    for (const FrameRecord& f : frames) {
        subjectPath.push_back({map.X(f.subject.x), map.Y(f.subject.y)});
        if (f.camera == CameraRan::None) continue;
        pivotPath.push_back({map.X(f.pivot.x), map.Y(f.pivot.y)});
        cameraPath.push_back({map.X(f.cameraPosition.x), map.Y(f.cameraPosition.y)});
    }
    svg.Poly(subjectPath, false, "fill=\"none\" stroke=\"#188038\" stroke-width=\"2\" stroke-dasharray=\"5 4\"");
    svg.Poly(pivotPath, false, "fill=\"none\" stroke=\"#1a73e8\" stroke-width=\"1.5\"");
    const size_t pivotEvery = std::max<size_t>(1, pivotPath.size() / 200);
    for (size_t i = 0; i < pivotPath.size(); i += pivotEvery)
        svg.Circle(pivotPath[i].first, pivotPath[i].second, 1.6, "fill=\"#1a73e8\"");
    svg.Poly(cameraPath, false, "fill=\"none\" stroke=\"#e8710a\" stroke-width=\"1.5\"");
    // Look directions, evenly spaced over the frames.
    const size_t every = std::max<size_t>(1, frames.size() / 28);
    const double arrow = std::min(60.0, 1.2 * map.scale);
    for (size_t i = 0; i < frames.size(); ++i) {
        const FrameRecord& f = frames[i];
        if (f.camera == CameraRan::None || (i % every != 0 && i + 1 != frames.size())) continue;
        const double fx = f.front.x, fy = f.front.y, length = std::hypot(fx, fy);
        const double x = map.X(f.cameraPosition.x), y = map.Y(f.cameraPosition.y);
        svg.Circle(x, y, 2.5, std::string("fill=\"") + CameraColour(f.camera) + "\"");
        if (length > 1e-6)
            svg.Line(x, y, x + fx / length * arrow, y - fy / length * arrow,
                     std::string("stroke=\"") + CameraColour(f.camera) +
                         "\" stroke-width=\"1.3\" marker-end=\"url(#arrow)\"");
    }
    for (const Step& step : scenario.steps)
        if (step.command == "target") {
            const double x = map.X(step.numbers[0]), y = map.Y(step.numbers[1]);
            svg.Poly({{x, y - 7}, {x + 7, y}, {x, y + 7}, {x - 7, y}}, true,
                     "fill=\"#9334e6\" stroke=\"#5b1f99\"");
        }
    if (!frames.empty()) {
        const FrameRecord& last = frames.back();
        const double x = map.X(last.subject.x), y = map.Y(last.subject.y);
        svg.Circle(x, y, 6, "fill=\"#188038\" stroke=\"white\"");
        svg.Line(x, y, x + std::cos(last.subjectFacing) * 18, y - std::sin(last.subjectFacing) * 18,
                 "stroke=\"#188038\" stroke-width=\"2.5\" marker-end=\"url(#arrow)\"");
        if (!cameraPath.empty()) {
            svg.Text(cameraPath.front().first + 5, cameraPath.front().second - 5, "start",
                     "font-size=\"10\" fill=\"#e8710a\"");
            svg.Text(cameraPath.back().first + 5, cameraPath.back().second + 12, "end",
                     "font-size=\"10\" fill=\"#e8710a\"");
        }
    }
    svg.Raw("</g>\n");
    // Legend and scale.
    const double lx = map.left + 8, ly = map.top + 14;
    svg.Rect(lx - 4, ly - 11, 196, 106, "fill=\"white\" fill-opacity=\"0.85\" stroke=\"#ddd\"");
    svg.Line(lx, ly - 4, lx + 18, ly - 4, "stroke=\"#e8710a\" stroke-width=\"2\"");
    svg.Text(lx + 24, ly, "camera path, look direction", "font-size=\"10\"");
    svg.Line(lx, ly + 12, lx + 18, ly + 12, "stroke=\"#1a73e8\" stroke-width=\"2\"");
    svg.Text(lx + 24, ly + 16, "pivot", "font-size=\"10\"");
    svg.Line(lx, ly + 28, lx + 18, ly + 28, "stroke=\"#188038\" stroke-width=\"2\" stroke-dasharray=\"5 4\"");
    svg.Text(lx + 24, ly + 32, frames.empty() || !frames.back().inVehicle ? "player" : "vehicle",
             "font-size=\"10\"");
    svg.Line(lx, ly + 44, lx + 18, ly + 44, "stroke=\"#555\" stroke-width=\"5\"");
    svg.Text(lx + 24, ly + 48, "wall", "font-size=\"10\"");
    svg.Cross(lx + 9, ly + 60, 3.5, "#d93025");
    svg.Text(lx + 24, ly + 64, "line of sight cut here", "font-size=\"10\"");
    svg.Circle(lx + 5, ly + 76, 3, "fill=\"#e8710a\"");
    svg.Circle(lx + 13, ly + 76, 3, "fill=\"#d93025\"");
    svg.Circle(lx + 21, ly + 76, 3, "fill=\"#12a4b8\"");
    svg.Text(lx + 30, ly + 80, "follow / aim / vehicle camera", "font-size=\"10\"");
    const double bar = step * map.scale;
    svg.Line(map.left + map.width - 12 - bar, map.top + map.height - 12, map.left + map.width - 12,
             map.top + map.height - 12, "stroke=\"#333\" stroke-width=\"2\"");
    svg.Text(map.left + map.width - 12, map.top + map.height - 17, Num(step) + " unit" + (step == 1 ? "" : "s"),
             "font-size=\"10\" text-anchor=\"end\"");

    // Plots against the frame number.
    std::vector<double> pitch, heading, fov;
    bool aimed = false, drove = false, walked = false;
    for (const FrameRecord& f : frames) {
        pitch.push_back(f.pitch * Degrees);
        // Unwrapped, so that a turn through +-180 degrees reads as one line.
        double h = f.heading * Degrees;
        if (!heading.empty()) h += 360 * std::round((heading.back() - h) / 360);
        heading.push_back(h);
        fov.push_back(f.fov);
        aimed |= f.camera == CameraRan::Aim;
        drove |= f.camera == CameraRan::Vehicle;
        walked |= f.camera == CameraRan::Follow;
    }
    std::vector<std::pair<double, std::string>> clamps;
    if (walked) clamps.push_back({-50, "-50"}), clamps.push_back({80, "80"});
    if (aimed) clamps.push_back({-100, "-100"}), clamps.push_back({90, "90"});
    if (drove) clamps.push_back({-20, "-20"}), clamps.push_back({80, "80"});
    const double px = 640, pw = 300;
    Plot(svg, px, 78, pw, 110, "pitch (degrees; dashed: clamp)", pitch, clamps, "#e8710a");
    Plot(svg, px, 222, pw, 110, "heading (degrees, unwrapped)", heading, {}, "#1a73e8");
    Plot(svg, px, 366, pw, 80, "field of view (degrees)", fov, {}, "#188038");
    std::vector<std::string> cameraCells, inputCells, aimCells, crosshairCells, cutCells, lockCells,
        handCells;
    for (const FrameRecord& f : frames) {
        lockCells.push_back(f.lockFlag ? "#9334e6" : "");
        handCells.push_back(f.timeMs < f.handControlUntil ? "#5f6368" : "");
        cameraCells.push_back(CameraColour(f.camera));
        inputCells.push_back(f.mouseX != 0 || f.mouseY != 0 ? "#202124"
                             : f.stickX != 0 || f.stickY != 0 ? "#5f6368" : "");
        aimCells.push_back(f.aimHeld ? "#d93025" : "");
        crosshairCells.push_back(f.crosshair ? "#202124" : "");
        bool cut = false;
        for (const SightTest& test : f.sightTests) cut |= test.hit;
        cutCells.push_back(cut ? "#d93025" : "");
    }
    const char* const labels[] = {"camera", "mouse/stick", "hand control", "aim held",
                                  "lock-on", "crosshair", "sight cut"};
    const std::vector<std::string>* strips[] = {&cameraCells, &inputCells, &handCells, &aimCells,
                                                &lockCells, &crosshairCells, &cutCells};
    for (int i = 0; i < 7; ++i) Strip(svg, px, 478 + 16 * i, pw, labels[i], *strips[i]);
    svg.Text(px, 602, "frames 1 .. " + std::to_string(frames.size()) + " (" +
                          (frames.empty() ? std::string("0") : std::to_string(frames.back().timeMs)) +
                          " ms)",
             "font-size=\"10\" fill=\"#555\"");
    return svg.Finish();
}

std::vector<std::pair<double, double>> QuadOutline(const DrawnQuad& quad,
                                                   const std::function<std::pair<double, double>(Vector2)>& at) {
    // The corners come in strip order: 1, 2 along one edge, 3, 4 along the other.
    return {at(quad.corner[0]), at(quad.corner[1]), at(quad.corner[3]), at(quad.corner[2])};
}

std::string RoutePicture(const ScenarioRun& run) {
    const Scenario& scenario = *run.scenario;
    const std::vector<FrameRecord>& frames = run.frames;
    Svg svg;
    Title(svg, run,
          "route guide, host build " + std::string(scenario.build == HostBuild::V10 ? "1.0" : "1.1") +
              ", " + std::to_string(frames.size()) + " frames; radar as drawn in the last frame");
    if (frames.empty()) return svg.Finish();
    const FrameRecord& last = frames.back();

    // Screen view around the radar: radar space -2.2 .. 2.2.
    const double panel = 520, left = 16, top = 60;
    const double view = 2.2 * scenario.radarHalfSize;
    const double scale = panel / (2 * view);
    auto at = [&](Vector2 screen) {
        return std::pair<double, double>{left + (screen.x - (scenario.radarCentreX - view)) * scale,
                                         top + (screen.y - (scenario.radarCentreY - view)) * scale};
    };
    auto radarAt = [&](Vector2 radar) { return at(RadarToScreen(scenario, radar)); };
    svg.Rect(left, top, panel, panel, "fill=\"#e8eaed\" stroke=\"#bbb\"");
    svg.Raw("<clipPath id=\"radarclip\"><rect x=\"" + Num(left) + "\" y=\"" + Num(top) +
            "\" width=\"" + Num(panel) + "\" height=\"" + Num(panel) +
            "\"/></clipPath>\n<g clip-path=\"url(#radarclip)\">\n");
    const auto [sx0, sy0] = at({0, 0});
    const auto [sx1, sy1] = at({float(scenario.screenWidth), float(scenario.screenHeight)});
    svg.Rect(sx0, sy0, sx1 - sx0, sy1 - sy0, "fill=\"#f8f9fa\" stroke=\"#202124\" stroke-dasharray=\"6 3\"");
    const double r = scenario.radarHalfSize * scale;
    const auto [cx, cy] = radarAt({0, 0});
    svg.Circle(cx, cy, r, "fill=\"#dfe9d8\" stroke=\"#5f6368\" stroke-width=\"1.5\"");
    svg.Circle(cx, cy, 1.2 * r, "fill=\"none\" stroke=\"#5f6368\" stroke-dasharray=\"3 3\"");
    svg.Rect(cx - r, cy - r, 2 * r, 2 * r, "fill=\"none\" stroke=\"#202124\" stroke-width=\"1.5\"");
    for (const DrawnQuad& quad : last.quads)
        if (!quad.mask)
            svg.Poly(QuadOutline(quad, at), true,
                     "fill=\"" + Colour(quad.colour) + "\" fill-opacity=\"0.9\"" +
                         (quad.submitted ? "" : " stroke=\"#d93025\" stroke-dasharray=\"2 2\""));
    for (const DrawnQuad& quad : last.quads)
        if (quad.mask)
            svg.Poly(QuadOutline(quad, at), true, "fill=\"url(#hatch)\" stroke=\"#5f6368\" stroke-width=\"0.8\"");
    for (const Vector2& point : last.routeRadar) {
        const auto [x, y] = radarAt(point);
        const bool inside = point.x * point.x + point.y * point.y <= 1.44f;
        svg.Circle(x, y, 2.2, inside ? "fill=\"#202124\"" : "fill=\"white\" stroke=\"#202124\"");
    }
    if (last.marker) {
        const auto [x, y] = at(last.markerAt);
        svg.Circle(x, y, 8, "fill=\"" + Colour(last.markerColour) + "\" stroke=\"#202124\" stroke-width=\"2\"");
    }
    if (!last.text.empty()) {
        const auto [x, y] = at(last.textAt);
        svg.Text(x, y + 12, last.text, "font-size=\"15\" font-weight=\"bold\" fill=\"#202124\"");
    }
    svg.Raw("</g>\n");
    const double ly = top + panel + 16;
    svg.Circle(left + 6, ly - 4, 5, "fill=\"#dfe9d8\" stroke=\"#5f6368\"");
    svg.Text(left + 16, ly, "radar disc and square; dashed circle: radius 1.2; dashed frame: screen edge",
             "font-size=\"10\"");
    svg.Rect(left, ly + 6, 14, 10, "fill=\"url(#hatch)\" stroke=\"#5f6368\"");
    svg.Text(left + 20, ly + 15, "mask quads (alpha 0 in the game: they hide the route off the radar)",
             "font-size=\"10\"");
    svg.Circle(left + 4, ly + 26, 2.2, "fill=\"#202124\"");
    svg.Circle(left + 12, ly + 26, 2.2, "fill=\"white\" stroke=\"#202124\"");
    svg.Text(left + 20, ly + 30, "path nodes inside / outside radius 1.2; band: the route quads submitted",
             "font-size=\"10\"");

    // World map: roads, route, vehicle, blips, destination.
    MapView map{560, 60, 384, 340};
    Bounds bounds;
    for (const Vector3& node : run.roadNodes) bounds.Add(node.x, node.y);
    for (const Blip& blip : scenario.blips) bounds.Add(blip.x, blip.y);
    for (const FrameRecord& f : frames) bounds.Add(f.subject.x, f.subject.y);
    if (last.searched) bounds.Add(last.destination.x, last.destination.y);
    map.Fit(bounds.x0, bounds.y0, bounds.x1, bounds.y1);
    svg.Text(map.left, map.top - 5, "map (world units)", "font-size=\"12\" font-weight=\"bold\"");
    svg.Rect(map.left, map.top, map.width, map.height, "fill=\"#fcfcfc\" stroke=\"#bbb\"");
    svg.Raw("<clipPath id=\"mapclip\"><rect x=\"" + Num(map.left) + "\" y=\"" + Num(map.top) +
            "\" width=\"" + Num(map.width) + "\" height=\"" + Num(map.height) +
            "\"/></clipPath>\n<g clip-path=\"url(#mapclip)\">\n");
    for (const auto& [a, b] : run.roadLinks)
        svg.Line(map.X(run.roadNodes[a].x), map.Y(run.roadNodes[a].y), map.X(run.roadNodes[b].x),
                 map.Y(run.roadNodes[b].y), "stroke=\"#bdc1c6\" stroke-width=\"4\" stroke-linecap=\"round\"");
    HostRgba routeColour{32, 33, 36, 255};
    for (const DrawnQuad& quad : last.quads)
        if (!quad.mask) routeColour = quad.colour;
    std::vector<std::pair<double, double>> route;
    for (const Vector3& node : last.routeNodes) route.push_back({map.X(node.x), map.Y(node.y)});
    svg.Poly(route, false, "fill=\"none\" stroke=\"" + Colour(routeColour) + "\" stroke-width=\"2.5\"");
    const Vector3 centre = last.subject;
    svg.Circle(map.X(centre.x), map.Y(centre.y), last.radarRange * map.scale,
               "fill=\"#1a73e8\" fill-opacity=\"0.06\" stroke=\"#1a73e8\" stroke-dasharray=\"4 3\"");
    for (const Blip& blip : scenario.blips) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06X", blip.rgb);
        svg.Circle(map.X(blip.x), map.Y(blip.y), 5, std::string("fill=\"") + colour + "\" stroke=\"#202124\"");
    }
    if (last.searched) {
        const double x = map.X(last.destination.x), y = map.Y(last.destination.y);
        svg.Poly({{x, y - 9}, {x + 3, y - 3}, {x + 9, y - 3}, {x + 4, y + 2}, {x + 6, y + 9}, {x, y + 5},
                  {x - 6, y + 9}, {x - 4, y + 2}, {x - 9, y - 3}, {x - 3, y - 3}},
                 true, "fill=\"" + Colour(routeColour) + "\" stroke=\"#202124\"");
    }
    svg.Poly({{map.X(centre.x) + std::cos(last.subjectFacing) * 9, map.Y(centre.y) - std::sin(last.subjectFacing) * 9},
              {map.X(centre.x) + std::cos(last.subjectFacing + 2.5) * 7, map.Y(centre.y) - std::sin(last.subjectFacing + 2.5) * 7},
              {map.X(centre.x) + std::cos(last.subjectFacing - 2.5) * 7, map.Y(centre.y) - std::sin(last.subjectFacing - 2.5) * 7}},
             true, "fill=\"#188038\" stroke=\"white\"");
    svg.Raw("</g>\n");
    svg.Text(map.left, map.top + map.height + 14,
             "grey: roads; line: path nodes of the last search; star: destination;",
             "font-size=\"10\"");
    svg.Text(map.left, map.top + map.height + 27, "dots: blips; blue circle: radar range; arrow: vehicle",
             "font-size=\"10\"");

    // Timeline: route colour, status text and sound per frame.
    const double tx = 560, tw = 384, ty = 456;
    std::vector<std::string> routeCells, textCells, soundCells, keyCells;
    for (const FrameRecord& f : frames) {
        std::string colour;
        for (const DrawnQuad& quad : f.quads)
            if (!quad.mask) colour = Colour(quad.colour);
        if (colour.empty() && f.marker) colour = Colour(f.markerColour);
        routeCells.push_back(colour);
        textCells.push_back(f.text.empty() ? "" : "#5f6368");
        soundCells.push_back(f.sound ? "#202124" : "");
        keyCells.push_back(f.keysHeld.empty() ? "" : "#9334e6");
    }
    svg.Text(tx, ty - 8, "frames", "font-size=\"12\" font-weight=\"bold\"");
    Strip(svg, tx + 70, ty, tw - 70, "route colour", routeCells);
    Strip(svg, tx + 70, ty + 15, tw - 70, "status text", textCells);
    Strip(svg, tx + 70, ty + 30, tw - 70, "sound", soundCells);
    Strip(svg, tx + 70, ty + 45, tw - 70, "keys held", keyCells);
    // Where each status text first showed, in two columns.
    std::string shown;
    int labels = 0;
    for (const FrameRecord& f : frames) {
        if (f.text == shown) continue;
        shown = f.text;
        if (shown.empty() || labels >= 14) continue;
        std::string text = shown.rfind("GPS Mode: ", 0) == 0 ? shown.substr(10) : shown;
        svg.Text(tx + (labels / 7) * 192, ty + 88 + 11 * (labels % 7),
                 "frame " + std::to_string(f.frame) + ": " + text, "font-size=\"9.5\"");
        ++labels;
    }
    if (labels) svg.Text(tx, ty + 74, "status text from frame (GPS Mode: ...):", "font-size=\"10\" fill=\"#555\"");
    return svg.Finish();
}

}  // namespace

std::string PictureSvg(const ScenarioRun& run) {
    return run.scenario->wantsRoutePicture() ? RoutePicture(run) : CameraPicture(run);
}

}  // namespace sandbox
