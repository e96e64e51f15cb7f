// The settings file read beside the built plug-in, seen through what the plug-in then does:
// which host sites it patches, the field of view its camera uses, the walk key it asks for.
#include "tests/sim/kelvora_host.h"

namespace {

using namespace sim;
using namespace sim::kelvora;

constexpr uint32_t AimingHookSite = 0x46D500;
constexpr uint32_t OnFootCameraSite = 0x459A7C;
constexpr uint32_t FirstWalkSite = 0x493CEA;

class SettingsFileEffectTest : public KelvoraTest {
protected:
    bool Patched(uint32_t site) { return At<uint8_t>(site) == 0xE8; }
};

TEST_F(SettingsFileEffectTest, EnableSwitchAsWrittenInTheFile) {
    struct Case {
        const char* ini;
        bool enabled;
    };
    const Case cases[] = {
        {"bEnable=1\nbEnable=0\n", true},  // the first occurrence wins
        {"bEnable = 0 ; disabled\n", false},
        {"bEnable =\n", false},
        {"bEnable\n", false},
        {"BENABLE=1\n", false},
        {"bEnable=False\n", true},
        {"bEnable=no\n", false},
        {"bEnable=NO\n", false},
        {"bEnable=No\n", true},
        {"  # bEnable=1\n; bEnable=1\n", false},
        {"[Settings]\nbEnable 1\n", true},
        {"bEnable=0\r\nbEnable=1\r\n", false},
        {"\xEF\xBB\xBF" "bEnable=1\n", false},
    };
    for (const Case& c : cases) {
        ResetHostMemory();
        PoseAsCameraBuild10();
        LoadPlugin(c.ini);
        EXPECT_EQ(Patched(AimingHookSite), c.enabled) << c.ini;
    }
}

TEST_F(SettingsFileEffectTest, FieldOfViewReachesTheCamera) {
    struct Case {
        const char* line;
        float fov;
    };
    const Case cases[] = {{"fFOV = 70 degrees", 70.0f}, {"fFOV = abc", 0.0f},
                          {"fFOV = 1,5", 1.0f},         {"fFOV = 85.5", 85.5f}};
    for (const Case& c : cases) {
        LoadPlugin(Ini({"bEnable=1", "bProcess_FollowPed=1", c.line}));
        HostCamera().zoomStep = 2.0f;
        HostCam().position = {3.0f, 4.0f, 2.0f};
        static const Vector3 target{0.0f, 0.0f, 0.0f};
        EnterHostSite(OnFootCameraSite, Addr(&HostCam()), {Addr(&target), Bits(0.0f), 0, 0});
        EXPECT_EQ(HostCam().fov, c.fov) << c.line;
    }
}

TEST_F(SettingsFileEffectTest, WalkKeyAsWrittenInTheFile) {
    struct Case {
        const char* line;
        int key;  // 0: no walk key installed
    };
    const Case cases[] = {{"keyWalk = 0x12", 0x12}, {"keyWalk = \"0x12\"", 0x12},
                          {"keyWalk = VKA4", 0xA4}, {"keyWalk = 0x", 0},
                          {"keyWalk = 12", 0},      {"keyWalk = 0x0", 0},
                          {"keyWalk =", 0}};
    for (const Case& c : cases) {
        ResetHostMemory();
        PoseAsCameraBuild10();
        PlaceAllHostDoubles();
        LoadPlugin(Ini({"bEnable=1", c.line}));
        ASSERT_EQ(Patched(FirstWalkSite), c.key != 0) << c.line;
        if (c.key == 0) continue;
        Seam().keyStateQueries.clear();
        EnterHostSite(FirstWalkSite, HostPad0Address, {});
        EXPECT_EQ(Seam().keyStateQueries, std::vector<int>{c.key}) << c.line;
    }
}

}  // namespace
