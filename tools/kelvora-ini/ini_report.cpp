#include "tools/kelvora-ini/ini_report.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "camera_plugin/startup/settings_file.h"

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

const SettingKey* KnownKey(std::string_view key) {
    for (const SettingKey& known : SettingKeys)
        if (key == known.key) return &known;
    return nullptr;
}

// The known key a mistyped one most likely meant, or null.
const SettingKey* LikelyKey(std::string_view key) {
    const std::string lower = Lower(key);
    const SettingKey* best = nullptr;
    size_t bestDistance = 4;
    for (const SettingKey& known : SettingKeys) {
        const size_t distance = EditDistance(lower, Lower(known.key));
        if (distance < bestDistance) {
            best = &known;
            bestDistance = distance;
        }
    }
    return best;
}

std::string Printable(std::string_view text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            shown += char(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    return shown;
}

bool LooksFalse(const std::string& value) {
    const std::string lower = Lower(value);
    if (lower == "off" || lower == "false" || lower == "no" || lower == "n" || lower == "f" ||
        lower == "disabled" || lower == "disable" || lower == "\"0\"" || lower == "\"false\"" ||
        lower == "\"no\"")
        return true;
    // A number equal to zero ("0.0", "00", "-0").
    float number = 1.0f;
    return ExtractFloat(value, number) && number == 0.0f &&
           value.find_first_not_of("+-0.eE") == std::string::npos;
}

std::string Where(const SettingsEntry& entry) {
    return entry.missing ? "default" : "line " + std::to_string(entry.lineNumber);
}

// Warnings are collected and printed after the record, in line order.
struct Report {
    std::vector<std::pair<int, std::string>> warnings;
    void Warn(int line, const std::string& text) { warnings.emplace_back(line, text); }
    void Print(std::ostream& out) {
        std::stable_sort(warnings.begin(), warnings.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [line, text] : warnings) {
            out << "warning: ";
            if (line > 0) out << "line " << line << ": ";
            out << text << "\n";
        }
        if (warnings.empty()) out << "no warnings\n";
    }
};

void ExplainWalkKey(const SettingsEntry& entry, const std::string& keyWalk, Report& report,
                    std::string& note) {
    const int32_t code = WalkKeyCode(keyWalk);
    if (entry.missing || keyWalk.empty()) {
        note = "no walk key: keyWalk is empty";
        return;
    }
    if (keyWalk.size() <= 2) {
        report.Warn(entry.lineNumber, "keyWalk \"" + Printable(keyWalk) +
                                          "\" is too short: the plug-in skips the first two "
                                          "characters, so write the code as 0x12; no walk key "
                                          "will be installed");
        return;
    }
    if (code == 0) {
        report.Warn(entry.lineNumber, "keyWalk \"" + Printable(keyWalk) +
                                          "\" has no hexadecimal key code after its first two "
                                          "characters; no walk key will be installed");
        return;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", uint32_t(code));
    const std::string name = VirtualKeyName(code);
    if (name.empty()) {
        report.Warn(entry.lineNumber, "keyWalk \"" + Printable(keyWalk) + "\" decodes to " + hex +
                                          ", which is not a key's code");
        return;
    }
    note = std::string("walk key ") + hex + " (" + name + ")";
}

}  // namespace

std::string VirtualKeyName(int32_t code) {
    static const std::map<int32_t, std::string> names = {
        {0x01, "left mouse button"}, {0x02, "right mouse button"}, {0x04, "middle mouse button"},
        {0x05, "mouse button 4"}, {0x06, "mouse button 5"}, {0x08, "Backspace"}, {0x09, "Tab"},
        {0x0D, "Enter"}, {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"}, {0x13, "Pause"},
        {0x14, "Caps Lock"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "Page Up"},
        {0x22, "Page Down"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left arrow"},
        {0x26, "Up arrow"}, {0x27, "Right arrow"}, {0x28, "Down arrow"}, {0x2D, "Insert"},
        {0x2E, "Delete"}, {0x6A, "Numpad *"}, {0x6B, "Numpad +"}, {0x6D, "Numpad -"},
        {0x6E, "Numpad ."}, {0x6F, "Numpad /"}, {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
        {0xA0, "Left Shift"}, {0xA1, "Right Shift"}, {0xA2, "Left Ctrl"}, {0xA3, "Right Ctrl"},
        {0xA4, "Left Alt"}, {0xA5, "Right Alt"}, {0xBA, "; key"}, {0xBB, "= key"},
        {0xBC, ", key"}, {0xBD, "- key"}, {0xBE, ". key"}, {0xBF, "/ key"}, {0xC0, "` key"},
        {0xDB, "[ key"}, {0xDC, "\\ key"}, {0xDD, "] key"}, {0xDE, "' key"},
    };
    auto found = names.find(code);
    if (found != names.end()) return found->second;
    if (code >= 0x30 && code <= 0x39) return std::string(1, char(code)) + " key";
    if (code >= 0x41 && code <= 0x5A) return std::string(1, char(code)) + " key";
    if (code >= 0x60 && code <= 0x69) return "Numpad " + std::to_string(code - 0x60);
    if (code >= 0x70 && code <= 0x87) return "F" + std::to_string(code - 0x6F);
    return {};
}

int InspectSettingsText(std::string_view text, std::ostream& out) {
    SettingsFile file = ParseSettingsText(text);
    const size_t parsedEntries = file.entries.size();
    SettingsRecord record{};
    ApplySettingsFile(file, record);
    Report report;

    // Lines that are not keys the plug-in reads, and keys given more than once.
    std::map<std::string, const SettingsEntry*> firstOfKey;
    for (size_t i = 0; i < parsedEntries; ++i) {
        const SettingsEntry& entry = file.entries[i];
        if (KnownKey(entry.key)) {
            auto [first, isFirst] = firstOfKey.emplace(entry.key, &entry);
            if (!isFirst)
                report.Warn(entry.lineNumber, "\"" + entry.key + "\" is given again; line " +
                                                  std::to_string(first->second->lineNumber) +
                                                  " wins (value \"" +
                                                  Printable(first->second->value) + "\")");
            continue;
        }
        const std::string bom = "\xEF\xBB\xBF";
        if (entry.key.compare(0, bom.size(), bom) == 0) {
            report.Warn(entry.lineNumber,
                        "the file starts with a byte-order mark, which becomes part of the key \"" +
                            Printable(entry.key) +
                            "\", so the plug-in never reads it; save the file without one "
                            "(ANSI or UTF-8 without BOM)");
        } else if (entry.key.empty()) {
            report.Warn(entry.lineNumber, "a line without a key is ignored");
        } else if (entry.key.front() == '[') {
            report.Warn(entry.lineNumber, "\"" + Printable(entry.key) +
                                              "\": there are no sections; the line is ignored");
        } else if (const SettingKey* likely = LikelyKey(entry.key)) {
            report.Warn(entry.lineNumber, "\"" + Printable(entry.key) +
                                              "\" is not a key the plug-in reads (keys are "
                                              "case-sensitive); did you mean \"" +
                                              likely->key + "\"?");
        } else {
            report.Warn(entry.lineNumber,
                        "\"" + Printable(entry.key) + "\" is not a key the plug-in reads");
        }
    }

    // The settings record, field by field.
    for (int i = 0; i < SettingKeyCount; ++i) {
        const SettingKey& key = SettingKeys[i];
        const SettingsEntry& entry = FindOrAddEntry(file, key.key);
        std::string value, note;
        switch (key.kind) {
            case SettingKind::Bool: {
                bool flag = false;
                const bool hasValue = !entry.missing && ReadBool(entry, flag);
                value = hasValue && flag ? "true" : "false";
                if (!entry.missing && !hasValue)
                    report.Warn(entry.lineNumber, key.key + std::string(" has no value and reads "
                                                                         "as false"));
                else if (hasValue && flag && LooksFalse(entry.value))
                    report.Warn(entry.lineNumber,
                                key.key + std::string(" = ") + Printable(entry.value) +
                                    " reads as TRUE: only 0, false, FALSE, no and NO are false");
                break;
            }
            case SettingKind::Float: {
                const float number = ReadFloat(entry, 0.0f);
                float converted = 0.0f;
                char shown[32];
                std::snprintf(shown, sizeof shown, "%g", double(number));
                value = shown;
                if (!entry.missing && !ExtractFloat(entry.value, converted))
                    report.Warn(entry.lineNumber, key.key + std::string(" = \"") +
                                                      Printable(entry.value) +
                                                      "\" is not a number; the plug-in uses 0");
                break;
            }
            case SettingKind::Int: {
                const int32_t number = ReadInt(entry);
                int32_t converted = 0;
                value = std::to_string(number);
                if (!entry.missing && !ExtractInt(entry.value, converted))
                    report.Warn(entry.lineNumber,
                                key.key + std::string(" = \"") + Printable(entry.value) +
                                    "\" is not a whole number in range; the plug-in uses 1");
                break;
            }
            case SettingKind::KeyText:
                value = "\"" + Printable(record.keyWalk) + "\"";
                ExplainWalkKey(entry, record.keyWalk, report, note);
                break;
        }
        char line[160];
        std::snprintf(line, sizeof line, "%-34s %-12s %s", key.key, value.c_str(),
                      Where(entry).c_str());
        out << line;
        if (!note.empty()) out << "  (" << note << ")";
        out << "\n";
    }
    report.Print(out);
    return report.warnings.empty() ? InspectClean : InspectWarnings;
}

int RunInspector(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const std::string usage =
        "usage: kelvora-ini [--help] FILE\n"
        "\n"
        "Reads FILE (an iii_kelvora.ini) exactly as the camera plug-in iii_kelvora.asi does and\n"
        "prints every setting it will use: its value and the line it came from, or \"default\".\n"
        "Then it warns about lines that do not do what they seem to: keys the plug-in never\n"
        "reads (with the key you probably meant), keys given twice (the first one wins), values\n"
        "such as No, off or 0.0 that read as true, numbers that did not convert, a byte-order\n"
        "mark that hides the first key, and a keyWalk that gives no walk key.\n"
        "\n"
        "Exit status: 0 nothing to warn about, 1 warnings, 2 the file cannot be read.\n";
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        out << usage;
        return InspectClean;
    }
    if (argc != 2) {
        err << usage;
        return InspectUnreadable;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) {
        err << "kelvora-ini: cannot open " << argv[1] << "\n";
        return InspectUnreadable;
    }
    std::string text;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        err << "kelvora-ini: cannot read " << argv[1] << "\n";
        return InspectUnreadable;
    }
    out << argv[1] << "\n";
    return InspectSettingsText(text, out);
}
