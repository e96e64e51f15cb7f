// Runs one scenario: poses the simulated host as the scenario's build, places the host
// routine doubles, loads the built plug-ins, and plays host frames through the patched
// sites, recording what every frame did.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "camera_plugin/host/host_interface.h"
#include "tools/sandbox/scenario.h"
#include "tools/sandbox/sites.h"

namespace sandbox {

// A point on the radar (radar space: the disc is the unit circle) or on the screen.
struct Vector2 {
    float x, y;
};

// One host write made while a plug-in attached.
struct PatchWrite {
    Plugin plugin;
    uint32_t address;
    std::vector<uint8_t> before, after;
    bool protectedWrite;  // made under a page-protection change
};

struct LoadedModule {
    Plugin plugin;
    uint32_t base = 0, size = 0;
    bool loaded = false;
    std::vector<std::string> messageBoxes;
};

struct SightTest {
    Vector3 start, end;
    bool hit;
    Vector3 hitPosition;
};

struct DrawnQuad {
    Vector2 corner[4];  // in the order handed to the host
    HostRgba colour;
    float depth;        // the quad depth the host would build it with
    bool mask;          // drawn by the radar frame hook (the mask) rather than the route
    bool submitted;
};

enum class CameraRan { None, Follow, Aim, Vehicle };

struct FrameRecord {
    int frame = 0;
    int32_t timeMs = 0;
    // Inputs of the frame
    bool inVehicle = false;
    Vector3 subject{};       // the player on foot, or the vehicle
    float subjectFacing = 0; // radians, from +x towards +y
    float mouseX = 0, mouseY = 0;
    int stickX = 0, stickY = 0;
    bool aimHeld = false;
    // Camera
    CameraRan camera = CameraRan::None;
    Vector3 cameraPosition{}, pivot{}, front{};
    float pitch = 0, heading = 0, fov = 0;
    int32_t handControlUntil = 0;
    uint8_t lockFlag = 0;
    bool crosshair = false;
    std::vector<SightTest> sightTests;
    // Route guide
    bool radarDrawn = false;
    float radarRange = 0;             // world units from the radar's centre to its rim
    std::vector<Vector3> routeNodes;  // as the route search gave them
    std::vector<Vector2> routeRadar;  // their radar-space points
    bool searched = false;
    Vector3 destination{};
    std::vector<DrawnQuad> quads;
    bool marker = false;
    Vector2 markerAt{};
    HostRgba markerColour{};
    std::string text;
    Vector2 textAt{};
    bool sound = false;
    std::vector<int> keysHeld;
};

struct ScenarioRun {
    const Scenario* scenario = nullptr;
    std::vector<LoadedModule> modules;
    std::vector<PatchWrite> patches;
    std::vector<FrameRecord> frames;
    std::map<std::string, int> hostCalls;  // host routine name -> calls over the run
    std::map<uint32_t, int> runtimeWrites; // host address -> protected writes during frames
    std::vector<Vector3> roadNodes;        // the path graph the route search double used
    std::vector<std::pair<int, int>> roadLinks;
    std::vector<std::string> notes;        // things a modder should know about the run
};

// Progress callback: frames done, frames in all.
using Progress = std::function<void(int, int)>;

// Runs the scenario; the plug-ins are loaded from dist/. Returns false with a message when
// the run could not be made (the plug-ins could not be loaded).
bool RunScenario(const Scenario& scenario, ScenarioRun& run, std::string& error,
                 const Progress& progress = nullptr);

// What the sandbox is doing right now ("scenario.scn, frame 12"), for a fault report.
const char* SandboxActivity();

// Radar space of a screen point, the inverse of the sandbox's radar-to-screen transform.
Vector2 ScreenToRadar(const Scenario& scenario, Vector2 screen);
Vector2 RadarToScreen(const Scenario& scenario, Vector2 radar);

}  // namespace sandbox
