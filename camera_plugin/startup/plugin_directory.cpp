#include <windows.h>

#include <cstring>
#include <string>

#include "camera_plugin/startup/settings_file.h"
#include "camera_plugin/startup/startup.h"

const char* PluginDirectory() {
    static char directory[MAX_PATH];
    static bool computed = false;
    if (computed) return directory;

    HMODULE self = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&PluginDirectory), &self)) {
        MessageBoxA(nullptr, "FILESYSTEM\nUnable to retrieve kelvora dir path", "kelvora", MB_OK);
        self = nullptr;  // the host executable's directory is used instead
    }
    const DWORD length = GetModuleFileNameA(self, directory, MAX_PATH);
    directory[length < MAX_PATH ? length : MAX_PATH - 1] = '\0';
    if (char* lastBackslash = std::strrchr(directory, '\\')) lastBackslash[1] = '\0';
    computed = true;
    return directory;
}

void LoadSettings() {
    const std::string path = std::string(PluginDirectory()) + "iii_kelvora.ini";
    SettingsFile file = ReadSettingsFile(path.c_str());
    ApplySettingsFile(file, Settings);
}
