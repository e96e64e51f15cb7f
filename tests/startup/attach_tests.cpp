// The built camera plug-in loaded into the simulated host: what process attach does.
#include <windows.h>
#include <tlhelp32.h>

#include "tests/sim/fixture.h"

namespace {

using namespace sim;

class CameraAttachTest : public SimHostTest {};

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

TEST_F(CameraAttachTest, NeitherPluginStartsAThread) {
    PoseAsCameraBuild10();
    At<uint32_t>(0x60F428) = 0x6B636F52;  // "Rock"
    const int before = ThreadsOfThisProcess();
    auto camera = LoadCameraPlugin(std::string("bEnable=1\nbProcess_FollowPed=1\n"
                                               "bProcess_FollowVeh=1\nbTorsoFix=1\nkeyWalk=0x12\n"));
    auto guide = LoadRouteGuide();
    EXPECT_EQ(ThreadsOfThisProcess(), before);
}

TEST_F(CameraAttachTest, WithoutAnIniNothingIsPatchedButGInputIsStillLookedUp) {
    PoseAsCameraBuild10();
    const HostSnapshot before = SnapshotHost();
    auto plugin = LoadCameraPlugin(std::nullopt);
    EXPECT_EQ(plugin->attachResult(), TRUE);
    EXPECT_TRUE(ChangedBytes(before).empty());
    EXPECT_TRUE(Seam().protectCalls.empty());
    EXPECT_TRUE(Seam().messageBoxes.empty());
    ASSERT_EQ(Seam().moduleLookups.size(), 2u);
    EXPECT_EQ(Seam().moduleLookups[0].flags, 6u);  // its own directory
    EXPECT_EQ(Seam().moduleLookups[1].name, "GInputIII.asi");
}

TEST_F(CameraAttachTest, DisabledPluginPatchesNothingAndStillBindsGInput) {
    PoseAsCameraBuild10();
    FakeGInputControl& ginput = LoadFakeGInput();
    const HostSnapshot before = SnapshotHost();
    for (const char* ini : {"bEnable=0\nbProcess_FollowPed=1\nbTorsoFix=1\nkeyWalk=0x12\n",
                            "bEnable=NO\nbProcess_FollowVeh=1\n", "BENABLE=1\nbTorsoFix=1\n"}) {
        auto plugin = LoadCameraPlugin(std::string(ini));
        EXPECT_TRUE(ChangedBytes(before).empty()) << ini;
        EXPECT_TRUE(Seam().protectCalls.empty()) << ini;
    }
    EXPECT_EQ(ginput.exportCalls, 3);
}

TEST_F(CameraAttachTest, OtherHostBuildsGetOneMessageAndNoPatch) {
    for (uint32_t signatureAt : {0u, 0x5C2135u, 0x667C45u}) {
        ResetHostMemory();
        ResetSeam();
        if (signatureAt != 0) At<uint32_t>(signatureAt) = 0xB85548EC;
        const HostSnapshot before = SnapshotHost();
        auto plugin =
            LoadCameraPlugin(std::string("bEnable=1\nbProcess_FollowPed=1\nbProcess_FollowVeh=1\n"
                                         "bTorsoFix=1\nkeyWalk=0x12\n"));
        EXPECT_EQ(plugin->attachResult(), TRUE);
        EXPECT_TRUE(ChangedBytes(before).empty()) << std::hex << signatureAt;
        EXPECT_TRUE(Seam().protectCalls.empty());
        ASSERT_EQ(Seam().messageBoxes.size(), 1u);
        EXPECT_EQ(Seam().messageBoxes[0].caption, "kelvora");
        EXPECT_EQ(Seam().messageBoxes[0].type, uint32_t(MB_OK));
        EXPECT_FALSE(Seam().messageBoxes[0].hasOwner);
        EXPECT_NE(Seam().messageBoxes[0].text.find("1.0"), std::string::npos);
    }
}

TEST_F(CameraAttachTest, DisabledPluginDoesNotProbeTheBuild) {
    // No signature anywhere, plug-in disabled: no message.
    auto plugin = LoadCameraPlugin(std::string("bEnable=0\n"));
    EXPECT_TRUE(Seam().messageBoxes.empty());
}

TEST_F(CameraAttachTest, OtherReasonsDoNothing) {
    PoseAsCameraBuild10();
    auto plugin = LoadCameraPlugin(std::string("bEnable=1\nbProcess_FollowPed=1\n"));
    ResetSeam();
    const HostSnapshot before = SnapshotHost();
    for (DWORD reason : {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
        EXPECT_EQ(plugin->Notify(reason), TRUE);
    EXPECT_TRUE(ChangedBytes(before).empty());
    EXPECT_TRUE(Seam().moduleLookups.empty());
    EXPECT_TRUE(Seam().protectCalls.empty());
}

TEST_F(CameraAttachTest, RouteGuideLoadsAsADll) {
    auto plugin = LoadRouteGuide();
    EXPECT_EQ(plugin->attachResult(), TRUE);
}

}  // namespace
