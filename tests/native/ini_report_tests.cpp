// kelvora-ini on a table of ini files: the record it prints and the warnings it gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/kelvora-ini/ini_report.h"

namespace {

struct Inspection {
    int status;
    std::string output;
};

Inspection Inspect(const std::string& text) {
    std::ostringstream out;
    const int status = InspectSettingsText(text, out);
    return {status, out.str()};
}

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

int CountWarnings(const std::string& output) {
    int count = 0;
    for (size_t at = output.find("warning: "); at != std::string::npos;
         at = output.find("warning: ", at + 1))
        ++count;
    return count;
}

TEST(Inspector, TheShippedIniGivesNoWarning) {
    const Inspection inspection = Inspect(ReadFile(SHIPPED_INI));
    EXPECT_EQ(inspection.status, InspectClean) << inspection.output;
    EXPECT_NE(inspection.output.find("no warnings"), std::string::npos);
    EXPECT_NE(inspection.output.find("walk key 0x12 (Alt)"), std::string::npos);
}

TEST(Inspector, WarnsAboutEachSurprisingLine) {
    struct Case {
        const char* text;
        std::vector<const char*> expected;  // each must appear in the one warning
    };
    const Case cases[] = {
        {"BENABLE=1\n", {"line 1: \"BENABLE\" is not a key", "did you mean \"bEnable\"?"}},
        {"bEnabel=1\n", {"did you mean \"bEnable\"?"}},
        {"fFov = 70\n", {"did you mean \"fFOV\"?"}},
        {"colour=red\n", {"\"colour\" is not a key the plug-in reads\n"}},
        {"bEnable=1\nbEnable=0\n", {"line 2: \"bEnable\" is given again; line 1 wins (value \"1\")"}},
        {"bEnable=No\n", {"line 1: bEnable = No reads as TRUE"}},
        {"bEnable=off\n", {"bEnable = off reads as TRUE"}},
        {"bEnable=False\n", {"bEnable = False reads as TRUE"}},
        {"bEnable=0.0\n", {"bEnable = 0.0 reads as TRUE"}},
        {"bEnable=\n", {"bEnable has no value and reads as false"}},
        {"fFOV = abc\n", {"fFOV = \"abc\" is not a number; the plug-in uses 0"}},
        {"ModelID3 = 99999999999\n", {"ModelID3 = \"99999999999\" is not a whole number",
                                      "uses 1"}},
        {"\xEF\xBB\xBF" "bEnable=1\n", {"byte-order mark", "\\xEF\\xBB\\xBFbEnable"}},
        {"keyWalk = 12\n", {"keyWalk \"12\" is too short", "no walk key will be installed"}},
        {"keyWalk = 0xZZ\n", {"no hexadecimal key code", "no walk key will be installed"}},
        {"keyWalk = 0x1FF\n", {"decodes to 0x1FF, which is not a key's code"}},
        {"[Settings]\nbEnable=1\n", {"line 1: \"[Settings]\": there are no sections"}},
    };
    for (const Case& c : cases) {
        const Inspection inspection = Inspect(c.text);
        EXPECT_EQ(inspection.status, InspectWarnings) << c.text;
        EXPECT_EQ(CountWarnings(inspection.output), 1) << inspection.output;
        for (const char* expected : c.expected)
            EXPECT_NE(inspection.output.find(expected), std::string::npos)
                << "missing \"" << expected << "\" in:\n" << inspection.output;
    }
}

TEST(Inspector, PrintsEveryFieldWithItsValueAndOrigin) {
    const Inspection inspection = Inspect("# settings\nbEnable = 1\nfFOV = 72.5\nkeyWalk = VKA4\n"
                                          "ModelID4 = 131\n");
    EXPECT_EQ(inspection.status, InspectClean) << inspection.output;
    const std::string out = "\n" + inspection.output;
    auto lineOf = [&](const std::string& key) {
        const size_t at = out.find("\n" + key + " ");
        return at == std::string::npos ? std::string() : out.substr(at + 1, out.find('\n', at + 1) - at - 1);
    };
    EXPECT_NE(lineOf("bEnable").find("true"), std::string::npos);
    EXPECT_NE(lineOf("bEnable").find("line 2"), std::string::npos);
    EXPECT_NE(lineOf("fFOV").find("72.5"), std::string::npos);
    EXPECT_NE(lineOf("fFOV").find("line 3"), std::string::npos);
    EXPECT_NE(lineOf("keyWalk").find("walk key 0xA4 (Left Alt)"), std::string::npos);
    EXPECT_NE(lineOf("ModelID4").find("131"), std::string::npos);
    EXPECT_NE(lineOf("ModelID5").find("1 "), std::string::npos);
    EXPECT_NE(lineOf("ModelID5").find("default"), std::string::npos);
    EXPECT_NE(lineOf("bTorsoFix").find("false"), std::string::npos);
    EXPECT_NE(lineOf("bTorsoFix").find("default"), std::string::npos);
}

TEST(Inspector, CommandLineHelpAndUnreadableFiles) {
    std::ostringstream out, err;
    const char* help[] = {"kelvora-ini", "--help"};
    EXPECT_EQ(RunInspector(2, help, out, err), InspectClean);
    EXPECT_NE(out.str().find("usage: kelvora-ini"), std::string::npos);
    EXPECT_NE(out.str().find("Exit status"), std::string::npos);

    const char* missing[] = {"kelvora-ini", "/no/such/iii_kelvora.ini"};
    EXPECT_EQ(RunInspector(2, missing, out, err), InspectUnreadable);
    const std::string directory = std::filesystem::temp_directory_path().string();
    const char* folder[] = {"kelvora-ini", directory.c_str()};
    EXPECT_EQ(RunInspector(2, folder, out, err), InspectUnreadable);
    const char* none[] = {"kelvora-ini"};
    EXPECT_EQ(RunInspector(1, none, out, err), InspectUnreadable);

    const std::string file = (std::filesystem::temp_directory_path() / "kelvora_inspect.ini").string();
    std::ofstream(file) << "bEnable=No\n";
    const char* messy[] = {"kelvora-ini", file.c_str()};
    std::ostringstream report;
    EXPECT_EQ(RunInspector(2, messy, report, err), InspectWarnings);
    EXPECT_NE(report.str().find("reads as TRUE"), std::string::npos);
}

TEST(Inspector, NamesVirtualKeys) {
    EXPECT_EQ(VirtualKeyName(0x12), "Alt");
    EXPECT_EQ(VirtualKeyName(0x41), "A key");
    EXPECT_EQ(VirtualKeyName(0x65), "Numpad 5");
    EXPECT_EQ(VirtualKeyName(0x74), "F5");
    EXPECT_EQ(VirtualKeyName(0x1FF), "");
}

}  // namespace
