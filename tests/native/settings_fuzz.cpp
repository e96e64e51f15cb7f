// Any bytes as iii_kelvora.ini: the reader must parse them by its grammar without crashing,
// reading out of bounds or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "camera_plugin/startup/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SettingsFile file = ParseSettingsText(text);
    SettingsRecord record{};
    ApplySettingsFile(file, record);
    WalkKeyCode(record.keyWalk);
    WalkKeyCode(text);
    for (const SettingsEntry& entry : file.entries) {
        bool flag = false;
        ReadBool(entry, flag);
        ReadFloat(entry, 0.0f);
        ReadInt(entry);
        ReadString(entry, std::string());
    }
    return 0;
}
