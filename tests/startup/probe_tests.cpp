// The camera plug-in's host-writing primitives, build probe, directory and settings
// loading and pad bridge, called one at a time through the probe DLL.
#include <cstring>

#include "camera_plugin/startup/settings_file.h"
#include "tests/sim/fixture.h"

namespace {

using namespace sim;

class ProbeTest : public SimHostTest {
protected:
    void SetUp() override {
        SimHostTest::SetUp();
        Load(std::nullopt);
    }
    void Load(const std::optional<std::string>& ini) {
        probe.reset();
        probe = std::make_unique<LoadedPlugin>(TestBinaryPath("kelvora_probe.dll"), ini);
        ResetSeam();
    }
    template <class Fn>
    Fn Export(const char* name) {
        return probe->Export<Fn>(name);
    }
    std::unique_ptr<LoadedPlugin> probe;
};

constexpr uint32_t Routine = 0x70001234;  // a plug-in routine's address

TEST_F(ProbeTest, WriteHostCallWritesOpcodeThenDisplacementEachUnderItsOwnProtection) {
    MEMORY_BASIC_INFORMATION page;
    VirtualQuery(Ptr<void>(0x459A7C), &page, sizeof page);
    Export<void (*)(uint32_t, uint32_t)>("ProbeWriteHostCall")(0x459A7C, Routine);
    EXPECT_EQ(ReadBytes(0x459A7C, 5), Rel32Bytes(0xE8, 0x459A7C, Routine));
    EXPECT_EQ(At<uint32_t>(0x459A7D), Routine - 0x459A81);
    const auto& calls = Seam().protectCalls;
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].address, 0x459A7Cu);
    EXPECT_EQ(calls[0].size, 1u);
    EXPECT_EQ(calls[0].newProtection, uint32_t(PAGE_EXECUTE_READWRITE));
    EXPECT_EQ(calls[1].address, 0x459A7Cu);
    EXPECT_EQ(calls[1].newProtection, page.Protect);  // the old one, put back
    EXPECT_EQ(calls[2].address, 0x459A7Du);
    EXPECT_EQ(calls[2].size, 4u);
    EXPECT_EQ(calls[3].address, 0x459A7Du);
    EXPECT_EQ(calls[3].size, 4u);
    EXPECT_EQ(calls[3].newProtection, page.Protect);
}

TEST_F(ProbeTest, WriteHostJumpAimsAtTheRoutine) {
    Export<void (*)(uint32_t, uint32_t)>("ProbeWriteHostJump")(0x4EDDB0, Routine);
    EXPECT_EQ(ReadBytes(0x4EDDB0, 5), Rel32Bytes(0xE9, 0x4EDDB0, Routine));
    EXPECT_EQ(At<uint32_t>(0x4EDDB1), Routine - 0x4EDDB5);
}

TEST_F(ProbeTest, FillHostNopsOfZeroBytesChangesNothing) {
    const HostSnapshot before = SnapshotHost();
    Export<void (*)(uint32_t, uint32_t)>("ProbeFillHostNops")(0x469226, 0);
    EXPECT_TRUE(Seam().protectCalls.empty());
    EXPECT_TRUE(ChangedBytes(before).empty());

    Export<void (*)(uint32_t, uint32_t)>("ProbeFillHostNops")(0x469226, 7);
    EXPECT_EQ(ReadBytes(0x469225, 9), (std::vector<uint8_t>{0, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90,
                                                            0x90, 0}));
    ASSERT_EQ(Seam().protectCalls.size(), 2u);
    EXPECT_EQ(Seam().protectCalls[0].size, 7u);
}

TEST_F(ProbeTest, WriteHostBytesCopiesTheWholeBlockUnderOneProtection) {
    std::vector<uint8_t> block(388);
    for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7 + 1);
    Export<void (*)(uint32_t, const void*, uint32_t)>("ProbeWriteHostBytes")(0x614E3C,
                                                                            block.data(), 388);
    EXPECT_EQ(ReadBytes(0x614E3C, 388), block);
    ASSERT_EQ(Seam().protectCalls.size(), 2u);
    EXPECT_EQ(Seam().protectCalls[0].address, 0x614E3Cu);
    EXPECT_EQ(Seam().protectCalls[0].size, 388u);
}

TEST_F(ProbeTest, FailedProtectionStillWritesAWritablePageAndRestoresNothing) {
    Seam().failProtect = [](uint32_t, uint32_t) { return true; };
    Export<void (*)(uint32_t, uint8_t)>("ProbeWriteHostByte")(0x468D09, 0x75);
    EXPECT_EQ(At<uint8_t>(0x468D09), 0x75);
    ASSERT_EQ(Seam().protectCalls.size(), 1u);  // no restore after a failed change
    EXPECT_GE(Seam().virtualQueryCalls, 1);
}

TEST_F(ProbeTest, FailedProtectionOnAReadOnlyPageSkipsTheWrite) {
    constexpr uint32_t page = 0x4E7000;
    DWORD old;
    ASSERT_TRUE(VirtualProtect(Ptr<void>(page), 0x1000, PAGE_READONLY, &old));
    Seam().failProtect = [](uint32_t, uint32_t) { return true; };
    Export<void (*)(uint32_t, uint32_t)>("ProbeWriteHostCall")(0x4E72FC, Routine);
    VirtualProtect(Ptr<void>(page), 0x1000, PAGE_EXECUTE_READWRITE, &old);
    EXPECT_EQ(ReadBytes(0x4E72FC, 5), std::vector<uint8_t>(5, 0));
    EXPECT_EQ(Seam().protectCalls.size(), 2u);
}

TEST_F(ProbeTest, BuildProbeTakesTheFirstMatchingSignatureOnce) {
    struct Case {
        std::vector<uint32_t> signatures;
        int32_t index;
    };
    const Case cases[] = {
        {{0x5C1E75}, 1}, {{0x5C2135}, 2}, {{0x5C6FD5}, 3},           {{0x667BF5}, 4},
        {{0x667C45}, 5}, {{0x666BA5}, 6}, {{0x5C1E75, 0x5C2135}, 1}, {{0x5C2135, 0x667C45}, 2},
        {{}, 0},
    };
    for (const Case& c : cases) {
        ResetHostMemory();
        for (uint32_t address : c.signatures) At<uint32_t>(address) = 0xB85548EC;
        Load(std::nullopt);
        EXPECT_EQ(Export<int32_t (*)()>("ProbeHostBuildIndex")(), -1);
        const uint32_t chosen = Export<uint32_t (*)(uint32_t)>("ProbeSelectHostAddress")(0x4A1220);
        EXPECT_EQ(Export<int32_t (*)()>("ProbeHostBuildIndex")(), c.index);
        EXPECT_EQ(chosen, c.index == 1 ? 0x4A1220u : 0u);
    }
    // No signature: later calls do not probe again.
    At<uint32_t>(0x5C1E75) = 0xB85548EC;
    EXPECT_EQ(Export<uint32_t (*)(uint32_t)>("ProbeSelectHostAddress")(0x46B850), 0u);
    EXPECT_EQ(Export<int32_t (*)()>("ProbeHostBuildIndex")(), 0);
}

TEST_F(ProbeTest, PluginDirectoryIsTheDllsOwnFolderWithTheFinalBackslash) {
    const std::string directory = Export<const char* (*)()>("ProbePluginDirectory")();
    EXPECT_EQ(directory, probe->directory());
    EXPECT_EQ(directory.back(), '\\');
    ASSERT_EQ(Seam().moduleLookups.size(), 1u);
    EXPECT_EQ(Seam().moduleLookups[0].flags, 6u);
    // Computed once.
    Export<const char* (*)()>("ProbePluginDirectory")();
    EXPECT_EQ(Seam().moduleLookups.size(), 1u);
    EXPECT_TRUE(Seam().messageBoxes.empty());
}

TEST_F(ProbeTest, PluginDirectoryFallsBackToTheHostsFolderWithAMessage) {
    Seam().failModuleLookup = [](const ModuleLookup&) { return true; };
    const std::string directory = Export<const char* (*)()>("ProbePluginDirectory")();
    ASSERT_EQ(Seam().messageBoxes.size(), 1u);
    EXPECT_EQ(Seam().messageBoxes[0].text, "FILESYSTEM\nUnable to retrieve kelvora dir path");
    EXPECT_EQ(Seam().messageBoxes[0].caption, "kelvora");
    EXPECT_EQ(Seam().messageBoxes[0].type, uint32_t(MB_OK));
    EXPECT_FALSE(Seam().messageBoxes[0].hasOwner);
    char host[MAX_PATH];
    GetModuleFileNameA(nullptr, host, MAX_PATH);
    std::string hostDirectory(host);
    hostDirectory.erase(hostDirectory.find_last_of('\\') + 1);
    EXPECT_EQ(directory, hostDirectory);
}

TEST_F(ProbeTest, SettingsAreReadFromTheIniBesideTheDll) {
    Load("bEnable=1\r\nbEnable=0\r\nfFOV = 70 degrees\r\nModelID3 = 0x10\r\n"
         "keyWalk = \"0x12\"\r\nBENABLE=0\r\n");
    Export<void (*)()>("ProbeLoadSettings")();
    const SettingsRecord& settings = *Export<const SettingsRecord* (*)()>("ProbeSettings")();
    EXPECT_TRUE(settings.bEnable);
    EXPECT_EQ(settings.fFOV, 70.0f);
    EXPECT_EQ(settings.ModelID[3], 0);
    EXPECT_EQ(settings.ModelID[4], 1);
    EXPECT_STREQ(Export<const char* (*)()>("ProbeKeyWalk")(), "0x12");
}

TEST_F(ProbeTest, NoIniBesideTheDllLeavesEveryFallback) {
    Export<void (*)()>("ProbeLoadSettings")();
    const SettingsRecord& settings = *Export<const SettingsRecord* (*)()>("ProbeSettings")();
    EXPECT_FALSE(settings.bEnable);
    EXPECT_EQ(settings.fFOV, 0.0f);
    for (int32_t id : settings.ModelID) EXPECT_EQ(id, 1);
    EXPECT_TRUE(Seam().messageBoxes.empty());
}

TEST_F(ProbeTest, WithoutGInputTheNullBridgeAnswersFalse) {
    Export<void (*)()>("ProbeBindPadBridge")();
    ASSERT_NE(Export<const void* (*)()>("ProbeActivePadBridge")(), nullptr);
    EXPECT_FALSE(Export<bool (*)()>("ProbeIsPadActive")());
    ASSERT_EQ(Seam().moduleLookups.size(), 1u);
    EXPECT_EQ(Seam().moduleLookups[0].name, "GInputIII.asi");
    EXPECT_EQ(Seam().moduleLookups[0].flags, 0u);
    EXPECT_TRUE(Seam().procLookups.empty());
}

TEST_F(ProbeTest, GInputsObjectAnswersThroughSlotTwoOnly) {
    FakeGInputControl& ginput = LoadFakeGInput();
    ginput.padActive = 1;
    Export<void (*)()>("ProbeBindPadBridge")();
    EXPECT_EQ(Seam().procLookups, std::vector<std::string>{"#1"});
    EXPECT_EQ(ginput.exportCalls, 1);
    EXPECT_TRUE(Export<bool (*)()>("ProbeIsPadActive")());
    ginput.padActive = 0;
    EXPECT_FALSE(Export<bool (*)()>("ProbeIsPadActive")());
    EXPECT_EQ(ginput.slotCalls[2], 2);
    for (int slot : {0, 1, 3, 4, 5}) EXPECT_EQ(ginput.slotCalls[slot], 0) << slot;
    // Bound once: a second bind asks nothing.
    Export<void (*)()>("ProbeBindPadBridge")();
    EXPECT_EQ(ginput.exportCalls, 1);
}

TEST_F(ProbeTest, GInputAnsweringNullOrLoadedLateLeavesTheNullBridge) {
    FakeGInputControl& ginput = LoadFakeGInput();
    ginput.returnNull = 1;
    ginput.padActive = 1;
    Export<void (*)()>("ProbeBindPadBridge")();
    EXPECT_EQ(ginput.exportCalls, 1);
    EXPECT_FALSE(Export<bool (*)()>("ProbeIsPadActive")());
    EXPECT_EQ(ginput.slotCalls[2], 0);

    // A fresh plug-in bound before GInput is loaded keeps the null bridge.
    while (HMODULE module = GetModuleHandleA("GInputIII.asi")) FreeLibrary(module);
    Load(std::nullopt);
    Export<void (*)()>("ProbeBindPadBridge")();
    FakeGInputControl& late = LoadFakeGInput();
    late.padActive = 1;
    Export<void (*)()>("ProbeBindPadBridge")();
    EXPECT_FALSE(Export<bool (*)()>("ProbeIsPadActive")());
    EXPECT_EQ(late.exportCalls, 0);
}

}  // namespace
