// The built route guide loaded into the simulated host: what process attach writes, for
// each host build and for a host it does not know.
#include "tests/route_guide/gps_host.h"

namespace {

using namespace sim;
using namespace sim::gps;

template <class Host>
class GuideAttachTest : public GuideHostTest<Host> {};
TYPED_TEST_SUITE(GuideAttachTest, Builds, BuildName);

TYPED_TEST(GuideAttachTest, WritesTheThreeCallsAndTheNopPatchOfItsBuildOnly) {
    using Host = TypeParam;
    const HostSnapshot before = SnapshotHost();
    this->Load();
    EXPECT_EQ(this->plugin->attachResult(), TRUE);
    EXPECT_TRUE(Seam().messageBoxes.empty());

    const uint32_t drawHook = Rel32Target(Host::RadarDrawSite);
    const uint32_t frameHook = Rel32Target(Host::RadarFrameSite);
    const uint32_t resetHook = Rel32Target(Host::ResetSite);
    EXPECT_EQ(ChangedBytes(before),
              ExpectedChanges(before, {{Host::RadarDrawSite, Rel32Bytes(0xE8, Host::RadarDrawSite, drawHook)},
                                       {Host::RadarFrameSite, Rel32Bytes(0xE8, Host::RadarFrameSite, frameHook)},
                                       {Host::ResetSite, Rel32Bytes(0xE8, Host::ResetSite, resetHook)},
                                       {Host::NopSite, {0x90, 0x90, 0x90, 0x90, 0x90}}}));
    // Each CALL lands on a distinct routine of the plug-in.
    for (uint32_t hook : {drawHook, frameHook, resetHook})
        EXPECT_TRUE(IsInsideModule(this->plugin->module(), hook)) << std::hex << hook;
    EXPECT_NE(drawHook, frameHook);
    EXPECT_NE(drawHook, resetHook);
    EXPECT_NE(frameHook, resetHook);
}

TYPED_TEST(GuideAttachTest, ProtectsOpcodeAndDisplacementSeparatelyAndRestoresEach) {
    using Host = TypeParam;
    const auto protectionAt = [](uint32_t address) {
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(Ptr<void>(address), &info, sizeof info);
        return uint32_t(info.Protect);
    };
    struct Expected {
        uint32_t address, size, protection;
    };
    // Each range made writable, written, and given back the protection it had.
    std::vector<Expected> expected;
    for (uint32_t site : {Host::RadarDrawSite, Host::RadarFrameSite, Host::ResetSite}) {
        expected.push_back({site, 1, PAGE_EXECUTE_READWRITE});
        expected.push_back({site, 1, protectionAt(site)});
        expected.push_back({site + 1, 4, PAGE_EXECUTE_READWRITE});
        expected.push_back({site + 1, 4, protectionAt(site + 1)});
    }
    expected.push_back({Host::NopSite, 5, PAGE_EXECUTE_READWRITE});
    expected.push_back({Host::NopSite, 5, protectionAt(Host::NopSite)});
    this->Load();
    const auto& calls = Seam().protectCalls;
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].address, expected[i].address) << i;
        EXPECT_EQ(calls[i].size, expected[i].size) << i;
        EXPECT_EQ(calls[i].newProtection, expected[i].protection) << i;
    }
}

TYPED_TEST(GuideAttachTest, RestoresTheProtectionThePageHadBefore) {
    using Host = TypeParam;
    // Make the page of the reset site read-only and executable, as host code is.
    const uint32_t page = Host::ResetSite & ~0xFFFu;
    DWORD old;
    ASSERT_TRUE(VirtualProtect(Ptr<void>(page), 0x1000, PAGE_EXECUTE_READ, &old));
    this->Load();
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(Ptr<void>(Host::ResetSite), &info, sizeof info);
    EXPECT_EQ(info.Protect, DWORD(PAGE_EXECUTE_READ));
    VirtualProtect(Ptr<void>(page), 0x1000, old, &old);
    EXPECT_EQ(ReadBytes(Host::ResetSite, 1), std::vector<uint8_t>{0xE8});
}

TYPED_TEST(GuideAttachTest, EachSiteEntersItsOwnHook) {
    using Host = TypeParam;
    this->Load();
    this->SetTime(10000);
    EnterHostSite(Host::RadarFrameSite, this->RadarFrameThis, {});
    ASSERT_EQ(Host::RadarFrameStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(Host::RadarFrameStep::calls[0]), this->RadarFrameThis);
    EXPECT_TRUE(Host::RadarDrawStep::calls.empty());

    EnterHostSite(Host::ResetSite, this->ResetThis, {});
    ASSERT_EQ(Host::ResetStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(Host::ResetStep::calls[0]), this->ResetThis);

    EnterHostSite(Host::RadarDrawSite, this->RadarDrawThis, {});
    ASSERT_EQ(Host::RadarDrawStep::calls.size(), 1u);
    EXPECT_EQ(std::get<0>(Host::RadarDrawStep::calls[0]), this->RadarDrawThis);
    EXPECT_EQ(Host::GetPlayerVehicle::calls.size(), 1u);
}

TYPED_TEST(GuideAttachTest, AFailedProtectionChangeLeavesThatRangeUnwritten) {
    using Host = TypeParam;
    const HostSnapshot before = SnapshotHost();
    Seam().failProtect = [](uint32_t address, uint32_t) {
        return address == Host::RadarFrameSite + 1 || address == Host::NopSite;
    };
    this->Load();
    // The frame site keeps its old displacement, the NOP site its old bytes; the rest
    // is written as usual.
    const uint32_t drawHook = Rel32Target(Host::RadarDrawSite);
    const uint32_t resetHook = Rel32Target(Host::ResetSite);
    EXPECT_EQ(ChangedBytes(before),
              ExpectedChanges(before, {{Host::RadarDrawSite, Rel32Bytes(0xE8, Host::RadarDrawSite, drawHook)},
                                       {Host::RadarFrameSite, {0xE8}},
                                       {Host::ResetSite, Rel32Bytes(0xE8, Host::ResetSite, resetHook)}}));
    // No restore after a change that failed: 3 x 4 + 2 calls, less the two restores.
    size_t failed = 0;
    for (const ProtectCall& call : Seam().protectCalls) failed += !call.succeeded;
    EXPECT_EQ(failed, 2u);
    EXPECT_EQ(Seam().protectCalls.size(), 12u);
}

TYPED_TEST(GuideAttachTest, OtherReasonsReadNothingAndWriteNothing) {
    this->Load();
    // An unknown signature now: reading it would show the message box.
    PokeBytes(0x60F428, {0x52, 0x6F, 0x63, 0x6C});
    ResetSeam();
    const HostSnapshot before = SnapshotHost();
    for (DWORD reason : {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
        EXPECT_EQ(this->plugin->Notify(reason), TRUE);
    EXPECT_TRUE(ChangedBytes(before).empty());
    EXPECT_TRUE(Seam().messageBoxes.empty());
    EXPECT_TRUE(Seam().protectCalls.empty());
}

class UnknownHostTest : public SimHostTest {};

TEST_F(UnknownHostTest, ShowsOneMessageAndWritesNoHostByte) {
    const std::vector<std::array<uint8_t, 4>> signatures = {
        {0, 0, 0, 0},
        {0x6B, 0x63, 0x6F, 0x52},  // "Rock" backwards
        {0x52, 0x6F, 0x63, 0x6C},  // "Rocl"
        {0x49, 0x50, 0x53, 0x48},  // "IPSH"
        {0x72, 0x6F, 0x63, 0x6B},  // "rock"
    };
    for (const auto& signature : signatures) {
        ResetHostMemory();
        ResetSeam();
        PokeBytes(0x60F428, {signature[0], signature[1], signature[2], signature[3]});
        const HostSnapshot before = SnapshotHost();
        auto plugin = LoadRouteGuide();
        EXPECT_EQ(plugin->attachResult(), TRUE);
        EXPECT_TRUE(ChangedBytes(before).empty());
        EXPECT_TRUE(Seam().protectCalls.empty());
        ASSERT_EQ(Seam().messageBoxes.size(), 1u);
        EXPECT_EQ(Seam().messageBoxes[0].text, "Unknown GTA 3 version");
        EXPECT_EQ(Seam().messageBoxes[0].caption, "gps.asi");
        EXPECT_EQ(Seam().messageBoxes[0].type, uint32_t(MB_OK));
        EXPECT_FALSE(Seam().messageBoxes[0].hasOwner);
    }
}

}  // namespace
