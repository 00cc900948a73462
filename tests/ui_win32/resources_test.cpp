// The resources zkconfig.exe carries (linked into this test as into the program): the icon at
// every size Windows picks from, the version Explorer shows, and the common controls the
// manifest selects. (Its DPI awareness cannot be seen under Wine, which calls every program
// aware: `x86_64-w64-mingw32-objdump -s -j .rsrc zkconfig.exe` shows the manifest.)
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_text.h"

namespace zk::win32::test {
namespace {

#pragma pack(push, 2)
// An icon group resource: a directory of the icon's images.
struct GroupEntry
{
    BYTE width; // 0 for 256
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bits;
    DWORD bytes;
    WORD id;
};
struct GroupHeader
{
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

std::vector<int> icon_group_sizes()
{
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(ZK_PROGRAM_ICON), RT_GROUP_ICON);
    if (!found) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(program, found)));
    const auto* header = reinterpret_cast<const GroupHeader*>(data);
    if (SizeofResource(program, found) < sizeof(GroupHeader) + header->count * sizeof(GroupEntry))
        return {};
    const auto* entries = reinterpret_cast<const GroupEntry*>(data + sizeof(GroupHeader));
    std::vector<int> sizes;
    for (WORD i = 0; i < header->count; ++i)
        sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
    return sizes;
}

// The width of the icon Windows loads for `size` pixels, 0 when it cannot load one.
int loaded_icon_width(int size)
{
    const auto icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZK_PROGRAM_ICON),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) return 0;
    ICONINFO info{};
    BITMAP bitmap{};
    if (GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return bitmap.bmWidth;
}

std::string version_value(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    if (block.empty() ||
        !GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()))
        return "(no version resource)";
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0)
        return "(no value)";
    return narrow(static_cast<const wchar_t*>(value));
}

TEST(program_resources, the_icon_holds_each_size_windows_shows_and_each_loads)
{
    EXPECT_EQ(icon_group_sizes(), (std::vector<int>{16, 32, 48, 256}));
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(loaded_icon_width(size), size);
    }
}

TEST(program_resources, the_version_names_the_product_and_its_release)
{
    EXPECT_EQ(version_value(L"ProductName"), "zkconfig");
    EXPECT_EQ(version_value(L"ProductVersion"), ZK_PROJECT_VERSION);
    EXPECT_EQ(version_value(L"FileVersion"), ZK_PROJECT_VERSION);
}

// Version 6 of the common controls draws the controls as the running Windows does and keeps
// the hint texts of empty boxes; the older version answers a hint with FALSE. (Wine's version 6
// knows the hints of edit boxes but not yet those of combo boxes, so an edit box is asked.)
TEST(program_resources, the_manifest_selects_common_controls_6)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(SendMessageW(edit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"型号")));
    wchar_t hint[16] = {};
    SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 16);
    EXPECT_EQ(narrow(hint), "型号");
    DestroyWindow(edit);
}

} // namespace
} // namespace zk::win32::test
