#include "tests/aiming/aiming_scene.h"

#include <algorithm>
#include <cstring>

namespace aiming_test {

std::vector<uint8_t> ExpectedControlsPage() {
    std::vector<uint8_t> page;
    auto word = [&](int32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            page.push_back(uint8_t(uint32_t(value) >> shift));
    };
    auto textKey = [&](const char* key) {
        const size_t length = std::strlen(key);
        for (size_t i = 0; i < 8; ++i) page.push_back(i < length ? uint8_t(key[i]) : 0);
    };
    textKey("FET_CTL");
    for (int32_t header : {41, 41, 41, 0, 0}) word(header);
    struct Entry {
        int32_t action;
        const char* text;
        int32_t target;
    };
    for (const Entry& entry : {Entry{72, "FET_RDK", 55}, Entry{2, "FET_AMS", 56},
                               Entry{98, "FET_DEF", 35}, Entry{2, "FEDS_TB", 0}}) {
        word(entry.action);
        textKey(entry.text);
        word(0);
        word(entry.target);
    }
    page.resize(ControlsPageSize, 0);  // entries 4 to 17 empty
    return page;
}

void AimingTest::Prepare(Bridge bridge) {
    plugin.reset();
    while (HMODULE loaded = GetModuleHandleA("GInputIII.asi")) FreeLibrary(loaded);
    ResetHostMemory();
    ResetSeam();
    CallLog().clear();
    PoseAsCameraBuild10();
    PlaceAllHostDoubles();
    world = BuildHostWorld();
    ginput = nullptr;
    if (bridge != Bridge::None) {
        ginput = &LoadFakeGInput();
        ginput->padActive = bridge == Bridge::Active;
    }
}

void AimingTest::Load(const std::vector<const char*>& settings) {
    std::string ini = "bEnable=1\n";
    for (const char* line : settings) ini.append(line).append("\n");
    ResetSeam();
    LoadPlugin(ini);
    installProtects = Seam().protectCalls;
    ResetSeam();
}

void AimingTest::ReadyToAim() {
    Player().currentWeaponSlot = 3;
    Player().weapons[3].type = Gun;
    Cam().mode = 4;
    PadAimHeld::answer = [](HostPad*) { return 1; };
}

SiteResult AimingTest::Pass() { return EnterHostSite(CameraStepSite, HostCameraAddress, {}); }

bool AimingTest::InsidePlugin(uint32_t address) const {
    const uint32_t base = uint32_t(uintptr_t(plugin->module()));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(plugin->module());
    const auto* nt = Ptr<const IMAGE_NT_HEADERS32>(base + dos->e_lfanew);
    return address >= base && address < base + nt->OptionalHeader.SizeOfImage;
}

std::vector<uint32_t> AimingTest::SitesWritten(const std::vector<uint32_t>& sites) const {
    std::vector<uint32_t> written;
    for (const ProtectCall& call : installProtects) {
        const bool isSite = std::find(sites.begin(), sites.end(), call.address) != sites.end();
        // Each write changes the protection and puts it back: count the site once.
        if (isSite && call.size == 1 && (written.empty() || written.back() != call.address))
            written.push_back(call.address);
    }
    return written;
}

bool AimingTest::Aiming() const { return At<uint8_t>(AimingBranch) == JNE; }

}  // namespace aiming_test
