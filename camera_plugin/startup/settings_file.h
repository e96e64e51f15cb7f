// The settings record of the camera plug-in and the reader of iii_kelvora.ini.
// Free of Windows headers: the same source builds natively for tests, the fuzzer and tools.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

constexpr int ModelIdCount = 21;

// Options of the camera plug-in, named after their keys in iii_kelvora.ini and read in
// this order. All zero (and keyWalk empty) until the settings are loaded.
struct SettingsRecord {
    bool bEnable;
    bool bProcess_FollowPed;
    bool bProcess_FollowVeh;
    float fRightStickVerticalSensitivity;
    float fRightStickHorizontalSensitivity;
    bool bControlVehParts;
    bool bForceAutoAim;
    bool bTorsoFix;
    bool bNoAutoFoc;
    std::string keyWalk;
    bool bIVOnFootCamera;
    bool bIVVehicleCamera;
    bool bDynamicFOV;
    float fFOV;
    int32_t ModelID[ModelIdCount];  // keys ModelID0 to ModelID20
};

extern SettingsRecord Settings;

// The keys in the order they are read.
enum class SettingKind { Bool, Float, KeyText, Int };
struct SettingKey {
    const char* key;
    SettingKind kind;
};
constexpr int SettingKeyCount = 14 + ModelIdCount;
extern const SettingKey SettingKeys[SettingKeyCount];

struct SettingsEntry {
    std::string value;  // comment and trailing blanks removed
    bool quoted;        // at least two characters, first and last a double quote
    bool missing;       // appended by FindOrAddEntry because the file lacks the key
    std::string key;
    int lineNumber;     // 1-based line of the file; 0 for a missing entry
};

// The parsed file, entries in file order. References into it stay valid as entries are
// appended.
struct SettingsFile {
    std::deque<SettingsEntry> entries;
};

// Parses text as the file's contents after the host C runtime's text-mode reading
// (CR LF is one line end, a Ctrl-Z byte ends the file).
SettingsFile ParseSettingsText(std::string_view text);
// Reads and parses the file; a file that cannot be opened or read gives no entries.
SettingsFile ReadSettingsFile(const char* path);

// Number extraction as a standard input stream does it in the classic locale: leading
// white space skipped, the longest number at the start taken, the rest ignored.
bool ExtractFloat(const std::string& text, float& number);
bool ExtractInt(const std::string& text, int32_t& number);

SettingsEntry& FindOrAddEntry(SettingsFile& file, std::string_view key);
bool ReadBool(const SettingsEntry& entry, bool& value);  // false: no value
float ReadFloat(const SettingsEntry& entry, float fallback);
int32_t ReadInt(const SettingsEntry& entry);
std::string ReadString(const SettingsEntry& entry, const std::string& fallback);

// Fills the record from a parsed file, looking the keys up in declaration order.
void ApplySettingsFile(SettingsFile& file, SettingsRecord& record);

// The Windows virtual-key code of the walk key text, 0 for none.
int32_t WalkKeyCode(std::string_view text);
