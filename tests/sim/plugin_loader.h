// Loads a built plug-in into the simulated host the way an ASI loader would, except that
// its Windows imports of the seam functions are bound to the seam's doubles.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace sim {

// Absolute Windows path of a file in dist/ (the built plug-ins).
std::string DistPath(const std::string& fileName);
// Absolute Windows path of a file in the test build directory (test DLLs such as GInput).
std::string TestBinaryPath(const std::string& fileName);

class LoadedPlugin {
public:
    // Copies the DLL at sourcePath into a fresh directory, writes the ini beside it when
    // given (iniName, iniText), maps the DLL, binds its imports and runs its process attach.
    LoadedPlugin(const std::string& sourcePath, const std::optional<std::string>& iniText,
                 const std::string& iniName = "iii_kelvora.ini");
    // Runs process detach, unloads the DLL and removes the directory.
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    HMODULE module() const { return module_; }
    // An export of the DLL (test probes only; the plug-ins export nothing).
    template <class Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    const std::string& directory() const { return directory_; }
    const std::string& path() const { return path_; }
    BOOL attachResult() const { return attachResult_; }
    // Calls the DLL's entry point again with another reason.
    BOOL Notify(DWORD reason);

private:
    std::string directory_;
    std::string path_;
    std::string iniPath_;
    HMODULE module_ = nullptr;
    BOOL attachResult_ = FALSE;
};

// Loads the camera plug-in with the given ini text (none: no ini file).
std::unique_ptr<LoadedPlugin> LoadCameraPlugin(const std::optional<std::string>& iniText);
// Loads the route guide.
std::unique_ptr<LoadedPlugin> LoadRouteGuide();

}  // namespace sim
