#include "tests/sim/plugin_loader.h"

#include <cstdio>
#include <stdexcept>
#include <type_traits>

#include "tests/sim/windows_seam.h"

namespace sim {

namespace {

std::string MakeFreshDirectory() {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        std::string directory = std::string(temp) + "simhost-" +
                                std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(++counter);
        if (CreateDirectoryA(directory.c_str(), nullptr)) return directory + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + directory);
    }
}

void WriteFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

template <class T>
T* AtRva(HMODULE module, uint32_t rva) {
    return reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(module) + rva);
}

const IMAGE_NT_HEADERS32* NtHeaders(HMODULE module) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    return AtRva<const IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
}

// Resolves every import the way the Windows loader would, the seam functions excepted.
void BindImports(HMODULE module) {
    const IMAGE_DATA_DIRECTORY& directory =
        NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.Size == 0) return;
    for (auto* descriptor = AtRva<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        const char* dllName = AtRva<const char>(module, descriptor->Name);
        HMODULE dll = LoadLibraryA(dllName);
        if (dll == nullptr) throw std::runtime_error(std::string("cannot load ") + dllName);
        auto* names = AtRva<IMAGE_THUNK_DATA32>(
            module, descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk
                                                   : descriptor->FirstThunk);
        auto* slots = AtRva<IMAGE_THUNK_DATA32>(module, descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            void* target = nullptr;
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) {
                target = reinterpret_cast<void*>(
                    GetProcAddress(dll, MAKEINTRESOURCEA(IMAGE_ORDINAL32(names->u1.Ordinal))));
            } else {
                const char* name =
                    AtRva<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData)->Name;
                target = SeamDoubleFor(name);
                if (target == nullptr) target = reinterpret_cast<void*>(GetProcAddress(dll, name));
                if (target == nullptr)
                    throw std::runtime_error(std::string("unresolved import ") + name);
            }
            DWORD old;
            VirtualProtect(&slots->u1.Function, 4, PAGE_READWRITE, &old);
            slots->u1.Function = uint32_t(uintptr_t(target));
            VirtualProtect(&slots->u1.Function, 4, old, &old);
        }
    }
}

using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

}  // namespace

std::string DistPath(const std::string& fileName) { return KELVORA_DIST_DIR "/" + fileName; }
std::string TestBinaryPath(const std::string& fileName) {
    return KELVORA_TEST_BINARY_DIR "/" + fileName;
}

LoadedPlugin::LoadedPlugin(const std::string& sourcePath,
                           const std::optional<std::string>& iniText, const std::string& iniName)
    : directory_(MakeFreshDirectory()),
      path_(directory_ + sourcePath.substr(sourcePath.find_last_of("/\\") + 1)) {
    if (!CopyFileA(sourcePath.c_str(), path_.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + sourcePath);
    if (iniText) {
        iniPath_ = directory_ + iniName;
        WriteFile(iniPath_, *iniText);
    }
    module_ = LoadLibraryExA(path_.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module_ == nullptr) throw std::runtime_error("cannot map " + path_);
    BindImports(module_);
    attachResult_ = Notify(DLL_PROCESS_ATTACH);
}

BOOL LoadedPlugin::Notify(DWORD reason) {
    const uint32_t entryRva = NtHeaders(module_)->OptionalHeader.AddressOfEntryPoint;
    return AtRva<std::remove_pointer_t<EntryPoint>>(module_, entryRva)(module_, reason, nullptr);
}

LoadedPlugin::~LoadedPlugin() {
    Notify(DLL_PROCESS_DETACH);
    FreeLibrary(module_);
    DeleteFileA(path_.c_str());
    if (!iniPath_.empty()) DeleteFileA(iniPath_.c_str());
    RemoveDirectoryA(directory_.c_str());
}

std::unique_ptr<LoadedPlugin> LoadCameraPlugin(const std::optional<std::string>& iniText) {
    return std::make_unique<LoadedPlugin>(DistPath("iii_kelvora.asi"), iniText);
}

std::unique_ptr<LoadedPlugin> LoadRouteGuide() {
    return std::make_unique<LoadedPlugin>(DistPath("gps.asi"), std::nullopt);
}

}  // namespace sim
