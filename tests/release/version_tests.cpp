// The Windows files of the release carry a version resource with the project's version,
// as the file's Properties page shows it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/sim/plugin_loader.h"

namespace {

struct VersionCase {
    const char* file;
    const char* description;
};

class VersionResource : public testing::TestWithParam<VersionCase> {};

std::string StringValue(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<none>";
    return std::string(value);
}

TEST_P(VersionResource, NamesTheFileAndTheProjectVersion) {
    const std::string path = sim::DistPath(GetParam().file);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS,
              (DWORD(KELVORA_VERSION_MAJOR) << 16) | DWORD(KELVORA_VERSION_MINOR));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(KELVORA_VERSION_PATCH) << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    EXPECT_EQ(StringValue(info, "FileVersion"), KELVORA_VERSION);
    EXPECT_EQ(StringValue(info, "ProductVersion"), KELVORA_VERSION);
    EXPECT_EQ(StringValue(info, "OriginalFilename"), GetParam().file);
    EXPECT_EQ(StringValue(info, "FileDescription"), GetParam().description);
    EXPECT_EQ(StringValue(info, "ProductName"), "kelvora");
}

INSTANTIATE_TEST_SUITE_P(
    Release, VersionResource,
    testing::Values(VersionCase{"iii_kelvora.asi", "Camera and controls plug-in for GTA 3"},
                    VersionCase{"gps.asi", "Route guide plug-in for GTA 3"},
                    VersionCase{"kelvora-ini.exe", "Settings inspector for iii_kelvora.ini"}));

// The Windows build of the inspector runs and finds nothing to warn about in the shipped ini.
TEST(InspectorForWindows, AcceptsTheShippedIni) {
    std::string command = "\"" + sim::DistPath("kelvora-ini.exe") + "\" \"" +
                          sim::DistPath("iii_kelvora.ini") + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 60000);
    DWORD status = 99;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(status, 0u);
}

}  // namespace
