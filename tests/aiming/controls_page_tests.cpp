// The frontend controls page written over the host's page record at 0x614E3C.
#include "tests/aiming/aiming_scene.h"

namespace aiming_test {
namespace {

class ControlsPageTest : public AimingTest {
protected:
    // The host's own page, filled so that every byte the plug-in writes shows.
    void LoadOverHostPage(const char* followPed) {
        Prepare();
        std::memset(Ptr<void>(HostControlsPageAddress), 0xCC, ControlsPageSize + 4);
        Load({followPed});
    }
};

TEST_F(ControlsPageTest, ThePageRecordIsWrittenByteForByteInOneProtectedCopy) {
    LoadOverHostPage("bProcess_FollowPed=1");
    const std::vector<uint8_t> page = ReadBytes(HostControlsPageAddress, ControlsPageSize);
    EXPECT_EQ(page, ExpectedControlsPage());
    // A few bytes read straight off the host's layout.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.data())), "FET_CTL");
    EXPECT_EQ(page[8], 41);
    EXPECT_EQ(page[20], 0);
    EXPECT_EQ(page[28], 72);   // entry 0 action
    EXPECT_EQ(page[32], 'F');  // entry 0 text
    EXPECT_EQ(page[44], 55);   // entry 0 target
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&page[28 + 3 * 20 + 4])), "FEDS_TB");
    EXPECT_EQ(page[28 + 2 * 20], 98);
    EXPECT_EQ(page[28 + 2 * 20 + 16], 35);
    for (uint32_t i = 28 + 4 * 20; i < ControlsPageSize; ++i) EXPECT_EQ(page[i], 0) << i;
    EXPECT_EQ(At<uint8_t>(HostControlsPageAddress + ControlsPageSize), 0xCC);  // nothing beyond

    size_t pageScopes = 0;
    for (const ProtectCall& call : installProtects)
        if (call.address == HostControlsPageAddress) {
            EXPECT_EQ(call.size, ControlsPageSize);
            ++pageScopes;
        }
    EXPECT_EQ(pageScopes, 2u);  // made writable, then put back
}

TEST_F(ControlsPageTest, WithoutFollowPedTheHostPageIsLeftAlone) {
    LoadOverHostPage("bProcess_FollowPed=0");
    EXPECT_EQ(ReadBytes(HostControlsPageAddress, ControlsPageSize),
              std::vector<uint8_t>(ControlsPageSize, 0xCC));
}

}  // namespace
}  // namespace aiming_test
