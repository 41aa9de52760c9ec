// The executable an administrator copies onto a station: its version and
// its icon.
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "host_path.h"

namespace ws::win32 {
namespace {

const std::wstring station = hostPath(WS_STATION_EXE);

std::wstring versionString(const std::vector<char>& block, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040404B0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        return L"(none)";
    return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(Executable, CarriesItsVersionInTraditionalChinese) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(station.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << WS_STATION_EXE;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(station.c_str(), 0, size, block.data()));

    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0x0404);  // Chinese (Traditional, Taiwan)
    EXPECT_EQ(translation->codePage, 1200);    // Unicode

    EXPECT_EQ(versionString(block, L"FileVersion"), L"4.00.0006");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"4.00.0006");

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000006u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000006u);
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

// The name is the resource's number, or a text that lives only as long as
// the enumeration.
BOOL CALLBACK takeFirst(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    *reinterpret_cast<std::wstring*>(first) =
        IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
}

TEST(Executable, ItsIconIsTheProgramIconWithItsMask) {
    HMODULE exe = LoadLibraryExW(station.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(exe);
    std::wstring first;  // the icon shells show for the file
    EnumResourceNamesW(exe, RT_GROUP_ICON, takeFirst, reinterpret_cast<LONG_PTR>(&first));
    ASSERT_FALSE(first.empty());
    HRSRC groupResource = FindResourceW(exe, first.c_str(), RT_GROUP_ICON);
    ASSERT_TRUE(groupResource);
    const auto* group =
        static_cast<const IconGroup*>(LockResource(LoadResource(exe, groupResource)));
    ASSERT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 255);
    EXPECT_EQ(group->entries[0].height, 255);

    HRSRC imageResource = FindResourceW(exe, MAKEINTRESOURCEW(group->entries[0].id), RT_ICON);
    ASSERT_TRUE(imageResource);
    const auto* image =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(exe, imageResource)));
    EXPECT_EQ(image->biWidth, 255);
    EXPECT_EQ(image->biHeight, 2 * 255);  // the colour image, then the one-bit mask
    EXPECT_EQ(image->biBitCount, 24);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace ws::win32
