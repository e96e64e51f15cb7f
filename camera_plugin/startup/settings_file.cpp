#include "camera_plugin/startup/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <locale>
#include <sstream>

SettingsRecord Settings;

const SettingKey SettingKeys[SettingKeyCount] = {
    {"bEnable", SettingKind::Bool},
    {"bProcess_FollowPed", SettingKind::Bool},
    {"bProcess_FollowVeh", SettingKind::Bool},
    {"fRightStickVerticalSensitivity", SettingKind::Float},
    {"fRightStickHorizontalSensitivity", SettingKind::Float},
    {"bControlVehParts", SettingKind::Bool},
    {"bForceAutoAim", SettingKind::Bool},
    {"bTorsoFix", SettingKind::Bool},
    {"bNoAutoFoc", SettingKind::Bool},
    {"keyWalk", SettingKind::KeyText},
    {"bIVOnFootCamera", SettingKind::Bool},
    {"bIVVehicleCamera", SettingKind::Bool},
    {"bDynamicFOV", SettingKind::Bool},
    {"fFOV", SettingKind::Float},
    {"ModelID0", SettingKind::Int},  {"ModelID1", SettingKind::Int},
    {"ModelID2", SettingKind::Int},  {"ModelID3", SettingKind::Int},
    {"ModelID4", SettingKind::Int},  {"ModelID5", SettingKind::Int},
    {"ModelID6", SettingKind::Int},  {"ModelID7", SettingKind::Int},
    {"ModelID8", SettingKind::Int},  {"ModelID9", SettingKind::Int},
    {"ModelID10", SettingKind::Int}, {"ModelID11", SettingKind::Int},
    {"ModelID12", SettingKind::Int}, {"ModelID13", SettingKind::Int},
    {"ModelID14", SettingKind::Int}, {"ModelID15", SettingKind::Int},
    {"ModelID16", SettingKind::Int}, {"ModelID17", SettingKind::Int},
    {"ModelID18", SettingKind::Int}, {"ModelID19", SettingKind::Int},
    {"ModelID20", SettingKind::Int},
};

namespace {

bool IsCommentStart(char c) { return c == '#' || c == ';'; }
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '='; }

enum class LineState { Lead, Key, Separator, Value };

// Adds the entry of one line unless the line is a whole-line comment.
void ParseLine(std::string_view line, int lineNumber, SettingsFile& file) {
    LineState state = LineState::Lead;
    std::string key;
    std::string value;
    for (char c : line) {
        if (IsCommentStart(c)) {
            if (state == LineState::Lead) return;
            break;
        }
        switch (state) {
            case LineState::Lead:
                if (!IsSeparator(c)) {
                    key.push_back(c);
                    state = LineState::Key;
                }
                break;
            case LineState::Key:
                if (IsSeparator(c))
                    state = LineState::Separator;
                else
                    key.push_back(c);
                break;
            case LineState::Separator:
                if (!IsSeparator(c)) {
                    value.push_back(c);
                    state = LineState::Value;
                }
                break;
            case LineState::Value:
                value.push_back(c);
                break;
        }
    }
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    file.entries.push_back({std::move(value), quoted, false, std::move(key), lineNumber});
}

template <class Number>
bool ExtractNumber(const std::string& text, Number& number) {
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    stream >> number;
    return !stream.fail();
}

}  // namespace

bool ExtractFloat(const std::string& text, float& number) { return ExtractNumber(text, number); }
bool ExtractInt(const std::string& text, int32_t& number) { return ExtractNumber(text, number); }

SettingsFile ParseSettingsText(std::string_view text) {
    SettingsFile file;
    const size_t end = std::min(text.find('\x1A'), text.size());
    std::string line;
    int lineNumber = 0;
    size_t i = 0;
    while (i < end) {
        line.clear();
        while (i < end && text[i] != '\n') {
            if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') {
                ++i;
                break;
            }
            line.push_back(text[i++]);
        }
        if (i < end && text[i] == '\n') ++i;
        ++lineNumber;
        if (!line.empty()) ParseLine(line, lineNumber, file);
    }
    return file;
}

SettingsFile ReadSettingsFile(const char* path) {
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return {};
    std::string text;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, count);
    std::fclose(stream);
    return ParseSettingsText(text);
}

SettingsEntry& FindOrAddEntry(SettingsFile& file, std::string_view key) {
    for (SettingsEntry& entry : file.entries)
        if (entry.key == key) return entry;
    file.entries.push_back({std::string(), false, true, std::string(key), 0});
    return file.entries.back();
}

bool ReadBool(const SettingsEntry& entry, bool& value) {
    if (entry.value.empty()) return false;
    const std::string& v = entry.value;
    value = !(v == "0" || v == "false" || v == "FALSE" || v == "no" || v == "NO");
    return true;
}

float ReadFloat(const SettingsEntry& entry, float fallback) {
    if (entry.missing) return fallback;
    float number = 0.0f;
    return ExtractFloat(entry.value, number) ? number : fallback;
}

int32_t ReadInt(const SettingsEntry& entry) {
    if (entry.missing) return 1;
    int32_t number = 0;
    return ExtractInt(entry.value, number) ? number : 1;
}

std::string ReadString(const SettingsEntry& entry, const std::string& fallback) {
    if (entry.missing) return fallback;
    if (entry.quoted) return entry.value.substr(1, entry.value.size() - 2);
    return entry.value;
}

void ApplySettingsFile(SettingsFile& file, SettingsRecord& record) {
    auto readBool = [&](const char* key) {
        const SettingsEntry& entry = FindOrAddEntry(file, key);
        bool value = false;
        return !entry.missing && ReadBool(entry, value) && value;
    };
    auto readFloat = [&](const char* key) { return ReadFloat(FindOrAddEntry(file, key), 0.0f); };

    record.bEnable = readBool("bEnable");
    record.bProcess_FollowPed = readBool("bProcess_FollowPed");
    record.bProcess_FollowVeh = readBool("bProcess_FollowVeh");
    record.fRightStickVerticalSensitivity = readFloat("fRightStickVerticalSensitivity");
    record.fRightStickHorizontalSensitivity = readFloat("fRightStickHorizontalSensitivity");
    record.bControlVehParts = readBool("bControlVehParts");
    record.bForceAutoAim = readBool("bForceAutoAim");
    record.bTorsoFix = readBool("bTorsoFix");
    record.bNoAutoFoc = readBool("bNoAutoFoc");
    record.keyWalk = ReadString(FindOrAddEntry(file, "keyWalk"), std::string());
    record.bIVOnFootCamera = readBool("bIVOnFootCamera");
    record.bIVVehicleCamera = readBool("bIVVehicleCamera");
    record.bDynamicFOV = readBool("bDynamicFOV");
    record.fFOV = readFloat("fFOV");
    for (int i = 0; i < ModelIdCount; ++i)
        record.ModelID[i] = ReadInt(FindOrAddEntry(file, SettingKeys[14 + i].key));
}

int32_t WalkKeyCode(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() <= 2) return 0;
    text.remove_prefix(2);

    // The "%X" conversion: white space, a sign, an optional 0x prefix, hexadecimal digits.
    // Digits beyond 32 bits wrap around, as the host C runtime's scanf accumulates them.
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    auto hexDigit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i + 1 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    uint32_t value = 0;
    while (i < text.size() && hexDigit(text[i]) >= 0)
        value = (value << 4) | uint32_t(hexDigit(text[i++]));
    if (negative) value = 0u - value;
    return int32_t(value);
}
