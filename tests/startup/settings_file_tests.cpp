// The settings reader on its own: line grammar, conversions and the settings record.
// Builds natively and for Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "camera_plugin/startup/settings_file.h"

namespace {

SettingsRecord Load(const std::string& text) {
    SettingsFile file = ParseSettingsText(text);
    SettingsRecord record{};
    ApplySettingsFile(file, record);
    return record;
}

std::string WriteTemporary(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

TEST(SettingsGrammar, SeparatorsCommentsAndBlanksSplitKeyAndValue) {
    struct Case {
        const char* line;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"bEnable=1", "bEnable", "1"},
        {"bEnable = 1", "bEnable", "1"},
        {"bEnable 1", "bEnable", "1"},
        {"bEnable == 1", "bEnable", "1"},
        {"=bEnable=1", "bEnable", "1"},
        {"\t bEnable\t=\t1 \t", "bEnable", "1"},
        {"bEnable = 0 ; disabled", "bEnable", "0"},
        {"bEnable=1#x", "bEnable", "1"},
        {"keyWalk = 0x 12", "keyWalk", "0x 12"},
        {"keyWalk = \"a # b\"", "keyWalk", "\"a"},
        {"[Settings]", "[Settings]", ""},
        {"bEnable =", "bEnable", ""},
        {"bEnable", "bEnable", ""},
        {" = = ", "", ""},
        {"key;comment", "key", ""},
        {"key value with = and\tblanks  ", "key", "value with = and\tblanks"},
    };
    for (const Case& c : cases) {
        SettingsFile file = ParseSettingsText(c.line);
        ASSERT_EQ(file.entries.size(), 1u) << c.line;
        EXPECT_EQ(file.entries[0].key, c.key) << c.line;
        EXPECT_EQ(file.entries[0].value, c.value) << c.line;
        EXPECT_FALSE(file.entries[0].missing);
    }
}

TEST(SettingsGrammar, WholeLineCommentsAndEmptyLinesMakeNoEntry) {
    for (const char* text : {"# note", "   # note", "; note", "\t;", "", "\n\n\n", "\r\n"})
        EXPECT_TRUE(ParseSettingsText(text).entries.empty()) << '"' << text << '"';
}

TEST(SettingsGrammar, QuotedNeedsTwoCharactersWithQuotesAtBothEnds) {
    EXPECT_TRUE(ParseSettingsText("k \"\"").entries[0].quoted);
    EXPECT_TRUE(ParseSettingsText("k \"0x12\"").entries[0].quoted);
    EXPECT_FALSE(ParseSettingsText("k \"").entries[0].quoted);
    EXPECT_FALSE(ParseSettingsText("k \"0x12").entries[0].quoted);
}

TEST(SettingsGrammar, LineEndsCrLfLoneCrAndCtrlZ) {
    const SettingsFile crlf = ParseSettingsText("a=1\r\nb=2\r\n");
    ASSERT_EQ(crlf.entries.size(), 2u);
    EXPECT_EQ(crlf.entries[0].value, "1");
    EXPECT_EQ(crlf.entries[1].value, "2");
    EXPECT_EQ(crlf.entries[1].lineNumber, 2);

    // A CR not followed by LF is an ordinary character.
    const SettingsFile loneCr = ParseSettingsText("a=1\rb=2");
    ASSERT_EQ(loneCr.entries.size(), 1u);
    EXPECT_EQ(loneCr.entries[0].value, "1\rb=2");

    // Text mode ends the file at a Ctrl-Z byte.
    EXPECT_EQ(ParseSettingsText("a=1\n\x1A" "b=2\n").entries.size(), 1u);

    // The last line counts without a line feed.
    EXPECT_EQ(ParseSettingsText("a=1\nb=2").entries.size(), 2u);
}

TEST(SettingsGrammar, NulBytesAndByteOrderMarkStayInTheKey) {
    const SettingsFile nul = ParseSettingsText(std::string("bEn\0able=1", 10));
    ASSERT_EQ(nul.entries.size(), 1u);
    EXPECT_EQ(nul.entries[0].key, std::string("bEn\0able", 8));
    EXPECT_FALSE(Load(std::string("bEn\0able=1", 10)).bEnable);

    EXPECT_FALSE(Load("\xEF\xBB\xBF" "bEnable=1\n").bEnable);
    EXPECT_TRUE(Load("\xEF\xBB\xBF\nbEnable=1\n").bEnable);
}

TEST(SettingsLookup, FirstOccurrenceWinsAndMissingKeysAreAppended) {
    SettingsFile file = ParseSettingsText("bEnable=1\nbEnable=0\n");
    EXPECT_EQ(FindOrAddEntry(file, "bEnable").value, "1");
    SettingsEntry& added = FindOrAddEntry(file, "fFOV");
    EXPECT_TRUE(added.missing);
    EXPECT_EQ(file.entries.size(), 3u);
    EXPECT_EQ(&FindOrAddEntry(file, "fFOV"), &added);
}

TEST(SettingsConversions, BooleansAreFalseOnlyForFiveSpellings) {
    struct Case {
        const char* value;
        bool expected;
    };
    const Case cases[] = {{"0", false},   {"false", false}, {"FALSE", false}, {"no", false},
                          {"NO", false},  {"1", true},      {"true", true},   {"yes", true},
                          {"False", true}, {"No", true},     {"off", true},    {"0.0", true},
                          {"\"0\"", true}, {"00", true}};
    for (const Case& c : cases)
        EXPECT_EQ(Load(std::string("bEnable=") + c.value).bEnable, c.expected) << c.value;
    EXPECT_FALSE(Load("bEnable=").bEnable);
    EXPECT_FALSE(Load("").bEnable);
}

TEST(SettingsConversions, FloatsTakeTheLongestNumberAtTheStart) {
    struct Case {
        const char* value;
        float expected;
    };
    const Case cases[] = {{"70 degrees", 70.0f}, {"1.5abc", 1.5f},  {"1,5", 1.0f},
                          {"abc", 0.0f},         {"-2.25", -2.25f}, {"  3", 3.0f},
                          {"1e3", 1000.0f},      {"1e99", 0.0f},    {"\"2\"", 0.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(Load(std::string("fFOV = ") + c.value).fFOV, c.expected) << c.value;
}

TEST(SettingsConversions, IntegersFallBackToOne) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const Case cases[] = {{"12abc", 12},        {"3.7", 3},          {"0x10", 0},
                          {"0x1A", 0},          {"-5", -5},          {"abc", 1},
                          {"99999999999", 1},   {"2147483647", 2147483647},
                          {"-2147483648", INT32_MIN}, {"2147483648", 1}, {"", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(Load(std::string("ModelID3 = ") + c.value).ModelID[3], c.expected) << c.value;
}

TEST(SettingsConversions, StringsLoseTheirQuotes) {
    EXPECT_EQ(Load("keyWalk = 0x12").keyWalk, "0x12");
    EXPECT_EQ(Load("keyWalk = \"0x12\"").keyWalk, "0x12");
    EXPECT_EQ(Load("keyWalk = \"\"").keyWalk, "");
    EXPECT_EQ(Load("keyWalk = \"").keyWalk, "\"");
}

TEST(SettingsRecordDefaults, NoFileGivesTheFallbacks) {
    const SettingsRecord record = Load("");
    EXPECT_FALSE(record.bEnable);
    EXPECT_FALSE(record.bProcess_FollowPed);
    EXPECT_EQ(record.fRightStickVerticalSensitivity, 0.0f);
    EXPECT_EQ(record.fRightStickHorizontalSensitivity, 0.0f);
    EXPECT_EQ(record.fFOV, 0.0f);
    EXPECT_EQ(record.keyWalk, "");
    for (int32_t id : record.ModelID) EXPECT_EQ(id, 1);
}

TEST(SettingsRecordDefaults, KeysAreCaseSensitive) {
    EXPECT_FALSE(Load("BENABLE=1").bEnable);
    EXPECT_FALSE(Load("benable=1").bEnable);
}

TEST(SettingsRecordDefaults, EveryKeyReachesItsOwnField) {
    const SettingsRecord record = Load(
        "bEnable 1\nbProcess_FollowPed 1\nbProcess_FollowVeh 1\n"
        "fRightStickVerticalSensitivity 2.5\nfRightStickHorizontalSensitivity 3.5\n"
        "bControlVehParts 1\nbForceAutoAim 1\nbTorsoFix 1\nbNoAutoFoc 1\nkeyWalk VKA4\n"
        "bIVOnFootCamera 1\nbIVVehicleCamera 1\nbDynamicFOV 1\nfFOV 75\n"
        "ModelID0 100\nModelID7 107\nModelID20 120\n");
    EXPECT_TRUE(record.bEnable && record.bProcess_FollowPed && record.bProcess_FollowVeh &&
                record.bControlVehParts && record.bForceAutoAim && record.bTorsoFix &&
                record.bNoAutoFoc && record.bIVOnFootCamera && record.bIVVehicleCamera &&
                record.bDynamicFOV);
    EXPECT_EQ(record.fRightStickVerticalSensitivity, 2.5f);
    EXPECT_EQ(record.fRightStickHorizontalSensitivity, 3.5f);
    EXPECT_EQ(record.keyWalk, "VKA4");
    EXPECT_EQ(record.fFOV, 75.0f);
    EXPECT_EQ(record.ModelID[0], 100);
    EXPECT_EQ(record.ModelID[1], 1);
    EXPECT_EQ(record.ModelID[7], 107);
    EXPECT_EQ(record.ModelID[20], 120);
}

TEST(WalkKey, DecodesTheHexAfterTheFirstTwoCharacters) {
    struct Case {
        std::string text;
        int32_t expected;
    };
    const Case cases[] = {
        {"0x12", 0x12},      {"0X12", 0x12},       {"VKA4", 0xA4},      {"0xa4", 0xA4},
        {"0x", 0},           {"12", 0},            {"", 0},             {"0x0", 0},
        {"0x 12", 0x12},     {"0x0x12", 0x12},     {"0xzz", 0},         {"0x12zz", 0x12},
        {"0x-12", -0x12},    {"0x+12", 0x12},      {"0x0xg", 0},
        {std::string("0x1\0" "2", 5), 1},          {std::string("0\0" "x12", 5), 0},
        {"0x123456789", 0x23456789},                {"0xFFFFFFFF", -1},
        {"0x" + std::string(5000, 'F'), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(WalkKeyCode(c.text), c.expected) << c.text;
}

TEST(SettingsFileReading, ReadsRealFilesAndToleratesBadOnes) {
    const std::string crlf = WriteTemporary("kelvora_crlf.ini", "bEnable=0\r\nfFOV=70\r\n");
    SettingsFile file = ReadSettingsFile(crlf.c_str());
    SettingsRecord record{};
    ApplySettingsFile(file, record);
    EXPECT_FALSE(record.bEnable);
    EXPECT_EQ(record.fFOV, 70.0f);

    EXPECT_TRUE(ReadSettingsFile("/no/such/dir/iii_kelvora.ini").entries.empty());
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "kelvora_dir.ini";
    std::filesystem::create_directories(directory);
    EXPECT_TRUE(ReadSettingsFile(directory.string().c_str()).entries.empty());

    std::string big = "bEnable=1\n" + std::string(1 << 20, 'x') + "\n";
    for (int i = 0; i < 5000; ++i) big += "bEnable=0\n";
    const std::string bigPath = WriteTemporary("kelvora_big.ini", big);
    SettingsFile bigFile = ReadSettingsFile(bigPath.c_str());
    EXPECT_EQ(bigFile.entries.size(), 5002u);
    record = SettingsRecord{};
    ApplySettingsFile(bigFile, record);
    EXPECT_TRUE(record.bEnable);
}

}  // namespace
