#include "view/layout.h"

namespace zk::view {

const ControlLayout* find_control(const WindowLayout& window, std::string_view name)
{
    for (const ControlLayout& control : window.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

bool accepts_input(Input rule, std::string_view text)
{
    if (rule == Input::any) return true;
    for (char c : text) {
        if (c != '-' && (c < '0' || c > '9')) return false;
    }
    return true;
}

bool takes_focus(Kind kind)
{
    switch (kind) {
    case Kind::edit:
    case Kind::button:
    case Kind::check:
    case Kind::combo:
    case Kind::list:
        return true;
    case Kind::label:
    case Kind::group:
    case Kind::tab:
    case Kind::endpoint:
        return false;
    }
    return false;
}

namespace {

// Parents nest at most a group box in a tab page; the bound keeps a table whose parent names
// form a loop from hanging the program.
constexpr int deepest_nesting = 8;

} // namespace

Rect client_place(const WindowLayout& window, const ControlLayout& control)
{
    Rect place = control.place;
    const ControlLayout* parent = find_control(window, control.parent);
    for (int depth = 0; parent && depth < deepest_nesting; ++depth) {
        place.x += parent->place.x;
        place.y += parent->place.y;
        parent = find_control(window, parent->parent);
    }
    return place;
}

int page_of(const WindowLayout& window, const ControlLayout& control)
{
    const ControlLayout* entry = &control;
    for (int depth = 0; entry && depth < deepest_nesting; ++depth) {
        if (entry->page >= 0) return entry->page;
        entry = find_control(window, entry->parent);
    }
    return -1;
}

} // namespace zk::view
