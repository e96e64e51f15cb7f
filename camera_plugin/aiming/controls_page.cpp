// A reduced controls page for the host's frontend menu, written over the host's own page
// record. Text keys, action and target codes are the host menu's own.
#include <cstddef>
#include <cstdint>

#include "camera_plugin/host/host_interface.h"
#include "camera_plugin/host/host_patch.h"
#include "camera_plugin/startup/installers.h"
#include "camera_plugin/startup/settings_file.h"

namespace {

// One line of a frontend page.
struct MenuPageEntry {
    int32_t action;
    char text[8];  // text key, NUL-padded
    int32_t value;
    int32_t target;
};
static_assert(sizeof(MenuPageEntry) == 20);
static_assert(offsetof(MenuPageEntry, text) == 4);
static_assert(offsetof(MenuPageEntry, value) == 12);
static_assert(offsetof(MenuPageEntry, target) == 16);

constexpr int MenuPageEntryCount = 18;

// A frontend page record, laid out as the host's.
struct MenuPage {
    char title[8];  // text key, NUL-padded
    int32_t header[5];
    MenuPageEntry entries[MenuPageEntryCount];
};
static_assert(sizeof(MenuPage) == 388);
static_assert(offsetof(MenuPage, header) == 8);
static_assert(offsetof(MenuPage, entries) == 28);

constexpr MenuPage ControlsPage = {
    "FET_CTL",
    {41, 41, 41, 0, 0},
    {
        {72, "FET_RDK", 0, 55}, {2, "FET_AMS", 0, 56}, {98, "FET_DEF", 0, 35}, {2, "FEDS_TB", 0, 0},
        // The remaining entries stay empty.
    },
};

}  // namespace

void InstallControlsPage() {
    if (!Settings.bProcess_FollowPed) return;
    WriteHostBytes(HostControlsPageAddress, &ControlsPage, sizeof ControlsPage);
}
