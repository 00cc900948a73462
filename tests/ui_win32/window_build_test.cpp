// Both windows built from their layout tables: every control of the table, and no other, is a
// child window of the right class at its place with its caption.
#include "ui_win32/win32_fixture.h"

#include <commctrl.h>

#include <cctype>

#include "ui/win32/settings_window.h"
#include "ui/win32/wide_text.h"

namespace zk::win32::test {
namespace {

struct Expected
{
    const char* class_name;
    LONG button_type; // BS_... for buttons, -1 otherwise
};

Expected expected_for(view::Kind kind)
{
    switch (kind) {
    case view::Kind::label:
        return {"Static", -1};
    case view::Kind::edit:
        return {"Edit", -1};
    case view::Kind::button:
        return {"Button", BS_PUSHBUTTON};
    case view::Kind::check:
        return {"Button", BS_AUTOCHECKBOX};
    case view::Kind::group:
        return {"Button", BS_GROUPBOX};
    case view::Kind::combo:
        return {"ComboBox", -1};
    case view::Kind::list:
        return {"ListBox", -1};
    case view::Kind::tab:
        return {"SysTabControl32", -1};
    case view::Kind::endpoint:
        break;
    }
    return {"", -1};
}

bool same_ignoring_case(std::string a, std::string b)
{
    for (std::string* text : {&a, &b}) {
        for (char& c : *text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return a == b;
}

std::vector<std::string> combo_items(HWND combo)
{
    std::vector<std::string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(narrow(text));
    }
    return items;
}

std::vector<std::string> tab_pages(HWND tab)
{
    std::vector<std::string> pages;
    const auto count = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        pages.push_back(narrow(text));
    }
    return pages;
}

void check_control(const NativeWindow& window, const view::ControlLayout& entry)
{
    const view::WindowLayout& layout = window.built().layout();
    HWND control = window.control(entry.name);
    const Expected expected = expected_for(entry.kind);
    EXPECT_TRUE(same_ignoring_case(class_of(control), expected.class_name)) << class_of(control);
    if (expected.button_type >= 0) {
        EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK, expected.button_type);
    }
    const view::Rect place = view::client_place(layout, entry);
    const RECT rect = rect_in_parent(control);
    EXPECT_EQ(GetParent(control), window.handle());
    // Programs that drive the windows from outside find the control by its name this way.
    EXPECT_EQ(GetDlgItem(window.handle(), control_id(layout, entry.name)), control);
    EXPECT_EQ(rect.left, place.x);
    EXPECT_EQ(rect.top, place.y);
    EXPECT_EQ(rect.right - rect.left, place.width);
    // A closed combo box is as high as its font needs, in the Qt windows too.
    if (entry.kind != view::Kind::combo) {
        EXPECT_EQ(rect.bottom - rect.top, place.height);
    }
    if (entry.kind == view::Kind::combo) {
        // Lists without items in the table are filled at run time (adapters, the library).
        if (!entry.items.empty()) {
            EXPECT_EQ(combo_items(control),
                      std::vector<std::string>(entry.items.begin(), entry.items.end()));
        }
    } else if (entry.kind == view::Kind::tab) {
        EXPECT_EQ(tab_pages(control),
                  std::vector<std::string>(layout.pages.begin(), layout.pages.end()));
    } else if (entry.kind != view::Kind::list) {
        EXPECT_EQ(text_of(control), entry.text);
    }
    // The first page is the current one: the other pages' controls are hidden.
    const int page = view::page_of(layout, entry);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, page <= 0);
}

void check_window(const NativeWindow& window)
{
    const view::WindowLayout& layout = window.built().layout();
    EXPECT_EQ(text_of(window.handle()), layout.title);
    RECT client{};
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, layout.client_width);
    EXPECT_EQ(client.bottom, layout.client_height);
    // Centred on the work area of its monitor (the owner's, for the settings window).
    RECT frame{};
    GetWindowRect(window.handle(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
    EXPECT_FALSE(GetWindowLongW(window.handle(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    std::size_t built = 0;
    for (const view::ControlLayout& entry : layout.controls) {
        if (entry.kind == view::Kind::endpoint) continue;
        SCOPED_TRACE(std::string(entry.name));
        check_control(window, entry);
        ++built;
    }
    std::size_t children = 0;
    for (HWND child = GetWindow(window.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, built);
}

class window_build : public WindowFixture
{};

TEST_F(window_build, both_windows_hold_every_control_of_their_tables_in_place)
{
    FindWindow find(state, Ports{}, setup(), dispatcher);
    find.show();
    SettingsWindow settings(find.handle(), "10.99.0.20", Ports{}, links.opener(), dispatcher,
                            folder);
    settings.show();
    pump();
    {
        SCOPED_TRACE("find window");
        check_window(find);
    }
    {
        SCOPED_TRACE("settings window");
        check_window(settings);
    }
}

TEST_F(window_build, labels_and_group_boxes_on_a_tab_page_show_the_pages_own_colour)
{
    FindWindow find(state, Ports{}, setup(), dispatcher);
    SettingsWindow settings(find.handle(), "10.99.0.20", Ports{}, links.opener(), dispatcher,
                            folder);
    settings.show();
    pump_for(std::chrono::milliseconds(200));
    // Blank spots, in client coordinates: the end of a label's box, inside the group box away
    // from its controls, and the page itself away from everything.
    const auto client_point = [&](const char* name, int dx, int dy) {
        const view::ControlLayout* entry = view::find_control(settings.built().layout(), name);
        const view::Rect place = view::client_place(settings.built().layout(), *entry);
        return POINT{place.x + dx, place.y + dy};
    };
    HDC device = GetDC(settings.handle());
    const auto colour_at = [device](POINT at) { return GetPixel(device, at.x, at.y); };
    const COLORREF page = colour_at(client_point("选择夹1", 700, 380));
    EXPECT_EQ(colour_at(client_point("标签3", 240, 12)), page);
    EXPECT_EQ(colour_at(client_point("分组框1", 300, 100)), page);
    EXPECT_EQ(colour_at(client_point("选择框刷卡开机", 78, 12)), page);
    ReleaseDC(settings.handle(), device);
}

TEST_F(window_build, a_window_takes_input_again_only_when_the_last_thing_over_it_has_closed)
{
    FindWindow find(state, Ports{}, setup(), dispatcher);
    block_input(find.handle()); // the settings window
    block_input(find.handle()); // a message box
    unblock_input(find.handle());
    EXPECT_FALSE(IsWindowEnabled(find.handle()));
    unblock_input(find.handle());
    EXPECT_TRUE(IsWindowEnabled(find.handle()));
}

TEST_F(window_build, on_a_monitor_of_another_dpi_every_place_is_scaled)
{
    FindWindow find(state, Ports{}, setup(), dispatcher);
    constexpr UINT dpi = 144;
    BuiltWindow scaled_window(find.handle(), view::settings_window_layout(), dpi);
    for (const BuiltControl& control : scaled_window.controls()) {
        SCOPED_TRACE(std::string(control.entry->name));
        const view::Rect place = view::client_place(scaled_window.layout(), *control.entry);
        const RECT rect = rect_in_parent(control.handle);
        // 1.5 times, to the nearest pixel.
        EXPECT_EQ(rect.left, (place.x * 3 + 1) / 2);
        EXPECT_EQ(rect.top, (place.y * 3 + 1) / 2);
        EXPECT_EQ(rect.right - rect.left, (place.width * 3 + 1) / 2);
    }
    LOGFONTW font{};
    GetObjectW(scaled_window.font(), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -18); // 9 points at 144 DPI
}

} // namespace
} // namespace zk::win32::test
