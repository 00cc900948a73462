#pragma once
// Both windows as data: every control with its name, kind, caption or initial text, place and
// size, parent, tab page, list items and input rule. The window builder turns a table into
// widgets whose object names are these names.
#include <span>
#include <string_view>

namespace zk::view {

enum class Kind
{
    label,
    edit,
    button,
    check,
    combo,
    list,
    group,
    tab,
    endpoint, // the datagram endpoint: has a place in the layout, is never shown
};

enum class Input
{
    any,
    integer, // digits and "-" only, typed, pasted or committed by an input method
};

struct Rect
{
    int x, y, width, height;
};

// A combo box's place in the tables is its closed field; its open list reaches this far below the
// field's top, whatever the field's height.
inline constexpr int combo_list_reach = 160;
// The width of a spin box's inert up/down arrows, inside its right edge.
inline constexpr int spin_arrows_width = 16;

struct ControlLayout
{
    std::string_view name;
    Kind kind;
    std::string_view text;
    Rect place;
    std::string_view parent = {}; // empty: the window's client area
    int page = -1;                // page of the parent tab control, -1 when not on a page
    Input input = Input::any;
    bool spin = false; // inert up/down arrows at the right edge
    std::span<const std::string_view> items = {};
};

struct WindowLayout
{
    std::string_view title;
    int client_width, client_height;
    std::span<const ControlLayout> controls;
    std::span<const std::string_view> pages; // pages of the window's tab control, if any
};

// "查找中控IP": adapter list, IP parameters, found controllers.
const WindowLayout& find_window_layout();

// "VARDEN57中控设置": three pages of controller settings.
const WindowLayout& settings_window_layout();

// The entry named `name`, or nullptr.
const ControlLayout* find_control(const WindowLayout& window, std::string_view name);

// Whether a box with input rule `rule` may hold `text` after an edit by the operator. An edit
// that would leave any other text is refused whole, in every toolkit alike.
bool accepts_input(Input rule, std::string_view text);

// Whether the Tab key stops at a control of this kind, in the order of the layout table: edit
// boxes, buttons, check boxes, combo and list boxes do; labels, group boxes and the tab control
// (its pages are changed with the mouse) are passed over.
bool takes_focus(Kind kind);

// The control's place in the window's client area: its own place moved by the places of the
// group boxes and the tab control it sits in.
Rect client_place(const WindowLayout& window, const ControlLayout& control);

// The tab page the control is shown on, its own or that of the group box holding it; -1 when it
// is on no page.
int page_of(const WindowLayout& window, const ControlLayout& control);

} // namespace zk::view
