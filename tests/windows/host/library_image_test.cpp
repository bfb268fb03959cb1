// What a host finds in the DLL before it creates anything: the exported entry
// point under its two names, and the editor's bitmaps among the resources.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/windows/ReferencePerformance.h"
#include "tests/windows/host/LibraryFixture.h"

namespace {

// The names in the DLL's export table, read from the loaded image.
std::set<std::string> exportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::set<std::string> names;
    if (entry.Size == 0) return names;
    const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    return names;
}

struct BitmapResource {
    int id;
    const char* file;
    LONG width;
    LONG height;
};

// The panel, the two-frame switch, the 64-frame knob strip and the knob mask.
const BitmapResource kBitmaps[] = {
    {101, "101_panel.bmp", 785, 82},
    {102, "102_switch.bmp", 25, 34},
    {103, "103_knob_strip.bmp", 26, 1664},
    {104, "104_knob_mask.bmp", 26, 26},
};

}  // namespace

using LibraryImageTest = LibraryFixture;

TEST_F(LibraryImageTest, BothEntryNamesAreOneFunction) {
    FARPROC entry = GetProcAddress(module, "VSTPluginMain");
    FARPROC alias = GetProcAddress(module, "main");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry, alias);
    EXPECT_TRUE(insideModule(reinterpret_cast<const void*>(entry)));
}

TEST_F(LibraryImageTest, ExportsExactlyTheTwoUndecoratedNames) {
    // No leading underscore or "@n" suffix: hosts ask for the plain names.
    EXPECT_EQ(exportedNames(module), (std::set<std::string>{"VSTPluginMain", "main"}));
}

TEST_F(LibraryImageTest, CarriesTheFourBitmapsAsTheFilesHoldThem) {
    for (const BitmapResource& bitmap : kBitmaps) {
        SCOPED_TRACE(bitmap.file);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(bitmap.id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        ASSERT_NE(found, nullptr);
        std::vector<uint8_t> file;
        ASSERT_TRUE(reference::readFile(checkSettings().resourceFolder + "/" + bitmap.file, file));
        // A bitmap resource is the file without its 14-byte file header.
        constexpr std::size_t kFileHeaderSize = 14;
        ASSERT_GT(file.size(), kFileHeaderSize);
        ASSERT_EQ(SizeofResource(module, found), file.size() - kFileHeaderSize);
        const void* data = LockResource(LoadResource(module, found));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, file.data() + kFileHeaderSize, file.size() - kFileHeaderSize), 0);

        HBITMAP loaded = LoadBitmapA(module, MAKEINTRESOURCEA(bitmap.id));
        ASSERT_NE(loaded, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectA(loaded, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, bitmap.width);
        EXPECT_EQ(info.bmHeight, bitmap.height);
        DeleteObject(loaded);
    }
}
