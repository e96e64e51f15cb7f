// The shape of the built plug-ins, read from their files: 32-bit DLLs that export nothing
// and import only from KERNEL32, USER32 and msvcrt (no runtime DLL a player lacks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct PeFile {
    std::vector<uint8_t> bytes;

    template <class T>
    T At(size_t offset) const {
        T value{};
        if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, &bytes[offset], sizeof(T));
        return value;
    }
    size_t header() const { return At<uint32_t>(0x3C); }
    size_t optionalHeader() const { return header() + 24; }
    uint16_t machine() const { return At<uint16_t>(header() + 4); }
    uint16_t characteristics() const { return At<uint16_t>(header() + 22); }
    uint16_t magic() const { return At<uint16_t>(optionalHeader()); }
    uint32_t directoryRva(int index) const { return At<uint32_t>(optionalHeader() + 96 + 8 * index); }
    uint32_t directorySize(int index) const {
        return At<uint32_t>(optionalHeader() + 96 + 8 * index + 4);
    }

    // File offset of a relative virtual address, through the section table.
    size_t Offset(uint32_t rva) const {
        const size_t sections = optionalHeader() + At<uint16_t>(header() + 20);
        const uint16_t count = At<uint16_t>(header() + 6);
        for (uint16_t i = 0; i < count; ++i) {
            const size_t s = sections + 40 * i;
            const uint32_t va = At<uint32_t>(s + 12), size = At<uint32_t>(s + 8);
            const uint32_t raw = At<uint32_t>(s + 20);
            if (rva >= va && rva < va + std::max(size, At<uint32_t>(s + 16))) return raw + (rva - va);
        }
        return bytes.size();
    }
    std::string String(uint32_t rva) const {
        std::string text;
        for (size_t i = Offset(rva); i < bytes.size() && bytes[i] != 0; ++i) text += char(bytes[i]);
        return text;
    }

    // DLL name -> imported function names.
    std::vector<std::pair<std::string, std::vector<std::string>>> Imports() const {
        std::vector<std::pair<std::string, std::vector<std::string>>> imports;
        for (size_t d = Offset(directoryRva(1)); At<uint32_t>(d + 12) != 0; d += 20) {
            std::vector<std::string> names;
            uint32_t thunk = At<uint32_t>(d) ? At<uint32_t>(d) : At<uint32_t>(d + 16);
            for (size_t t = Offset(thunk); At<uint32_t>(t) != 0; t += 4) {
                const uint32_t entry = At<uint32_t>(t);
                names.push_back(entry & 0x80000000u ? "#" + std::to_string(entry & 0xFFFF)
                                                    : String(entry + 2));
            }
            imports.emplace_back(String(At<uint32_t>(d + 12)), names);
        }
        return imports;
    }
};

PeFile Read(const std::string& name) {
    std::ifstream file(std::string(KELVORA_DIST_DIR) + "/" + name, std::ios::binary);
    return {std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {})};
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class DllShape : public testing::TestWithParam<const char*> {};

TEST_P(DllShape, IsA32BitDllThatExportsNothingAndImportsOnlyWindowsAndMsvcrt) {
    const PeFile pe = Read(GetParam());
    ASSERT_GT(pe.bytes.size(), 0x400u) << GetParam() << " not built";
    ASSERT_EQ(pe.At<uint32_t>(pe.header()), 0x00004550u);  // "PE\0\0"
    EXPECT_EQ(pe.machine(), 0x14C);                         // i386
    EXPECT_EQ(pe.magic(), 0x10B);                           // PE32
    EXPECT_TRUE(pe.characteristics() & 0x2000);             // a DLL
    // The linker always writes an export directory for a DLL; it must list nothing.
    if (pe.directorySize(0) != 0) {
        const size_t exports = pe.Offset(pe.directoryRva(0));
        EXPECT_EQ(pe.At<uint32_t>(exports + 20), 0u) << "exported functions";
        EXPECT_EQ(pe.At<uint32_t>(exports + 24), 0u) << "exported names";
    }

    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "MSVCRT.DLL"};
    // The static threading runtime links in _beginthreadex without calling it; that no
    // thread starts is checked at run time, in the simulated host.
    const std::set<std::string> threadStarters = {"CreateThread", "CreateRemoteThread"};
    const auto imports = pe.Imports();
    EXPECT_FALSE(imports.empty());
    for (const auto& [dll, functions] : imports) {
        EXPECT_TRUE(allowed.count(Upper(dll))) << GetParam() << " imports from " << dll;
        for (const std::string& function : functions)
            EXPECT_FALSE(threadStarters.count(function)) << GetParam() << " imports " << function;
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, DllShape, testing::Values("iii_kelvora.asi", "gps.asi"));

}  // namespace
