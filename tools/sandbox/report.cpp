#include "tools/sandbox/report.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace sandbox {

namespace {

constexpr double Degrees = 180.0 / 3.141592653589793;

std::string Hex(uint32_t value, int digits = 6) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string Bytes(const std::vector<uint8_t>& bytes, size_t shown = 8) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < bytes.size() && i < shown; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", bytes[i]);
        if (i) text += ' ';
        text += byte;
    }
    if (bytes.size() > shown) text += " ...";
    return text;
}

std::string Fixed(double value, int decimals = 3) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Vec(Vector3 v) { return std::string("(") + Fixed(v.x) + ", " + Fixed(v.y) + ", " + Fixed(v.z) + ")"; }

const char* BuildName(HostBuild build) { return build == HostBuild::V10 ? "1.0" : "1.1"; }

const char* CameraName(CameraRan camera) {
    switch (camera) {
        case CameraRan::Follow: return "follow";
        case CameraRan::Aim: return "aim";
        case CameraRan::Vehicle: return "vehicle";
        default: return "none";
    }
}

// What a written instruction does, named from the site table.
std::string Describe(const ScenarioRun& run, const PatchWrite& write, const SiteInfo* site) {
    const std::vector<uint8_t>& b = write.after;
    if (b.size() == 5 && (b[0] == 0xE8 || b[0] == 0xE9)) {
        const uint32_t target = write.address + 5 + (uint32_t(b[1]) | uint32_t(b[2]) << 8 |
                                                     uint32_t(b[3]) << 16 | uint32_t(b[4]) << 24);
        std::string text = b[0] == 0xE8 ? "CALL " : "JMP ";
        bool inModule = false;
        for (const LoadedModule& module : run.modules)
            if (target >= module.base && target < module.base + module.size) {
                text += std::string(PluginFile(module.plugin)) + "+" + Hex(target - module.base, 4);
                inModule = true;
            }
        if (!inModule) text += Hex(target) + " (outside both plug-ins!)";
        else if (site && site->address == write.address) text += std::string(" (") + site->routine + ")";
        return text;
    }
    bool allNops = true;
    for (uint8_t byte : b) allNops &= byte == 0x90;
    if (allNops) return "NOP x" + std::to_string(b.size());
    if (site && site->address == write.address && site->size == b.size()) return site->routine;
    return std::to_string(b.size()) + " byte" + (b.size() == 1 ? "" : "s");
}

}  // namespace

std::string PatchMapText(const ScenarioRun& run) {
    const Scenario& scenario = *run.scenario;
    std::ostringstream out;
    out << "Patch map of " << scenario.file << ": host build " << BuildName(scenario.build)
        << ", settings as the scenario sets them.\n"
        << "Old bytes are the simulated host's: a CALL to the host routine the site is known to\n"
        << "call there, else zero (the sandbox has no game code). Offsets are from each plug-in's\n"
        << "load address.\n";
    for (const LoadedModule& module : run.modules) {
        std::vector<const PatchWrite*> writes;
        for (const PatchWrite& write : run.patches)
            if (write.plugin == module.plugin) writes.push_back(&write);
        out << "\n" << PluginFile(module.plugin) << " (loaded at " << Hex(module.base, 8) << "): "
            << writes.size() << " write" << (writes.size() == 1 ? "" : "s") << "\n";
        for (const std::string& box : module.messageBoxes) out << "  message box: " << box << "\n";
        if (writes.empty()) continue;
        out << "  address   size  old bytes            new bytes            new instruction   [feature]\n";
        std::multimap<uint32_t, const PatchWrite*> byAddress;
        for (const PatchWrite* write : writes) byAddress.insert({write->address, write});
        for (const auto& [address, write] : byAddress) {
            const SiteInfo* site = FindSite(scenario.build, address);
            char line[200];
            std::snprintf(line, sizeof line, "  %s  %-4zu  %-19s  %-19s  ", Hex(address).c_str(),
                          write->after.size(), Bytes(write->before, 5).c_str(),
                          Bytes(write->after, 5).c_str());
            out << line << Describe(run, *write, site);
            if (!site || site->plugin != module.plugin)
                out << "   [not a documented site of this plug-in]";
            else
                out << "   [" << site->feature << "]";
            if (site && site->hostTarget != 0 && site->address == address)
                out << " replaces CALL " << Hex(site->hostTarget) << " (" << site->hostName << ")";
            if (!write->protectedWrite) out << "   [written without a protection change]";
            out << "\n";
        }
    }
    // Sites written by both plug-ins.
    std::map<uint32_t, std::set<Plugin>> owners;
    for (const PatchWrite& write : run.patches)
        for (uint32_t i = 0; i < write.after.size(); ++i) owners[write.address + i].insert(write.plugin);
    int shared = 0;
    for (const auto& [address, plugins] : owners) shared += plugins.size() > 1;
    out << "\nBytes written by both plug-ins: " << shared << "\n";
    return out.str();
}

std::string SummaryText(const ScenarioRun& run) {
    const Scenario& scenario = *run.scenario;
    std::ostringstream out;
    out << scenario.title << "\n"
        << "scenario: " << scenario.file << "\n"
        << "host build: " << BuildName(scenario.build) << "\n"
        << "plug-ins: ";
    for (const LoadedModule& module : run.modules) out << PluginFile(module.plugin) << " ";
    out << "\nGInput: "
        << (scenario.ginput == Scenario::GInput::Absent ? "absent"
            : scenario.ginput == Scenario::GInput::Idle ? "loaded, pad idle"
                                                        : "loaded, pad in use")
        << "\n";
    if (!scenario.settings.empty()) {
        out << "settings over the shipped iii_kelvora.ini:";
        for (const auto& [key, value] : scenario.settings) out << " " << key << "=" << value;
        out << "\n";
    }
    const int frames = int(run.frames.size());
    out << "frames run: " << frames;
    if (frames) out << " (host time " << run.frames.front().timeMs << " .. " << run.frames.back().timeMs << " ms)";
    out << "\nstart-up writes: " << run.patches.size() << " (see patches.txt)\n";
    for (const LoadedModule& module : run.modules)
        for (const std::string& box : module.messageBoxes)
            out << "message box at start-up: " << box << "\n";
    for (const std::string& note : run.notes) out << "note: " << note << "\n";

    std::map<CameraRan, int> cameras;
    int cuts = 0, crosshairs = 0;
    for (const FrameRecord& frame : run.frames) {
        ++cameras[frame.camera];
        for (const SightTest& test : frame.sightTests) cuts += test.hit;
        crosshairs += frame.crosshair;
    }
    if (scenario.build == HostBuild::V10 && scenario.loadCamera) {
        out << "\ncamera updates:";
        for (const auto& [camera, count] : cameras) out << " " << CameraName(camera) << " " << count;
        out << "\nline-of-sight tests cut by a wall: " << cuts << "\n"
            << "frames with the crosshair drawn: " << crosshairs << "\n";
        if (!run.runtimeWrites.empty()) {
            out << "host bytes rewritten while running:";
            for (const auto& [address, count] : run.runtimeWrites)
                out << " " << Hex(address) << " (" << count << "x)";
            out << "\n";
        }
        if (frames && run.frames.back().camera == CameraRan::None) {
            out << "final camera state: the plug-in did not update the camera in the last frame "
                   "(the game's own camera would run there; the sandbox does not play it)\n";
        } else if (frames) {
            const FrameRecord& last = run.frames.back();
            out << "final camera state (" << CameraName(last.camera) << " camera):\n"
                << "  position " << Vec(last.cameraPosition) << "\n"
                << "  pivot    " << Vec(last.pivot) << "\n"
                << "  front    " << Vec(last.front) << "\n"
                << "  pitch " << Fixed(last.pitch * Degrees, 2) << " deg, heading "
                << Fixed(last.heading * Degrees, 2) << " deg, field of view " << Fixed(last.fov, 2)
                << " deg\n"
                << "  hand-control time stamp " << last.handControlUntil << " ms\n";
        }
    }
    if (scenario.loadRouteGuide) {
        int searches = 0, routeQuads = 0, maskQuads = 0, markers = 0, sounds = 0;
        for (const FrameRecord& frame : run.frames) {
            searches += frame.searched;
            markers += frame.marker;
            sounds += frame.sound;
            for (const DrawnQuad& quad : frame.quads) (quad.mask ? maskQuads : routeQuads) += 1;
        }
        out << "\nroute guide: " << searches << " route searches, " << routeQuads
            << " route quads, " << maskQuads << " mask quads, " << markers
            << " frames with a destination marker, " << sounds << " change sounds\n";
        out << "status texts:\n";
        std::string shown;
        int since = 0;
        for (const FrameRecord& frame : run.frames) {
            if (frame.text != shown) {
                if (!shown.empty())
                    out << "  frames " << since << "-" << frame.frame - 1 << ": " << shown << "\n";
                shown = frame.text;
                since = frame.frame;
            }
        }
        if (!shown.empty()) out << "  frames " << since << "-" << frames << ": " << shown << "\n";
        if (frames) {
            const FrameRecord& last = run.frames.back();
            out << "final frame: ";
            if (last.searched)
                out << "destination " << Vec(last.destination) << ", " << last.routeNodes.size()
                    << " path nodes";
            else
                out << "no route searched";
            if (last.marker)
                out << ", marker at (" << Fixed(last.markerAt.x, 1) << ", " << Fixed(last.markerAt.y, 1)
                    << ")";
            out << "\n";
        }
    }
    out << "\ncalls made to each host routine:\n";
    for (const auto& [name, count] : run.hostCalls) {
        char line[96];
        std::snprintf(line, sizeof line, "  %-28s %d\n", name.c_str(), count);
        out << line;
    }
    return out.str();
}

std::string FrameTableText(const ScenarioRun& run) {
    std::ostringstream out;
    out << "frame\ttime_ms\tcamera\tcam_x\tcam_y\tcam_z\tpivot_x\tpivot_y\tpivot_z\tfront_x\t"
           "front_y\tfront_z\tpitch_deg\theading_deg\tfov\tsubject_x\tsubject_y\tsubject_z\t"
           "mouse_x\tmouse_y\tstick_x\tstick_y\taim\tcrosshair\tsight_cuts\troute_nodes\t"
           "route_quads\tmask_quads\tmarker\ttext\n";
    for (const FrameRecord& f : run.frames) {
        int cuts = 0, route = 0, mask = 0;
        for (const SightTest& test : f.sightTests) cuts += test.hit;
        for (const DrawnQuad& quad : f.quads) (quad.mask ? mask : route) += 1;
        out << f.frame << '\t' << f.timeMs << '\t' << CameraName(f.camera) << '\t'
            << Fixed(f.cameraPosition.x) << '\t' << Fixed(f.cameraPosition.y) << '\t'
            << Fixed(f.cameraPosition.z) << '\t' << Fixed(f.pivot.x) << '\t' << Fixed(f.pivot.y)
            << '\t' << Fixed(f.pivot.z) << '\t' << Fixed(f.front.x) << '\t' << Fixed(f.front.y)
            << '\t' << Fixed(f.front.z) << '\t' << Fixed(f.pitch * Degrees) << '\t'
            << Fixed(f.heading * Degrees) << '\t' << Fixed(f.fov) << '\t' << Fixed(f.subject.x)
            << '\t' << Fixed(f.subject.y) << '\t' << Fixed(f.subject.z) << '\t' << f.mouseX << '\t'
            << f.mouseY << '\t' << f.stickX << '\t' << f.stickY << '\t' << f.aimHeld << '\t'
            << f.crosshair << '\t' << cuts << '\t' << f.routeNodes.size() << '\t' << route << '\t'
            << mask << '\t' << f.marker << '\t' << f.text << '\n';
    }
    return out.str();
}

}  // namespace sandbox
