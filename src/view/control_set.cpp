#include "view/control_set.h"

#include <cstdio>
#include <cstdlib>

namespace zk::view {

ControlSet::ControlSet(const WindowLayout& layout, ControlFactory& factory)
{
    for (const ControlLayout& entry : layout.controls) {
        const std::string name(entry.name);
        switch (entry.kind) {
        case Kind::edit:
            controls_.emplace(name, factory.edit(entry));
            break;
        case Kind::label:
            controls_.emplace(name, factory.label(entry));
            break;
        case Kind::check:
            controls_.emplace(name, factory.check(entry));
            break;
        case Kind::tab:
            controls_.emplace(name, factory.tab(entry));
            break;
        case Kind::combo:
            controls_.emplace(name, factory.combo(entry));
            break;
        case Kind::list:
            controls_.emplace(name, factory.list(entry));
            break;
        case Kind::button:
        case Kind::group:
        case Kind::endpoint:
            break;
        }
    }
}

void ControlSet::missing(std::string_view name)
{
    std::fprintf(stderr, "the window has no such control: %.*s\n", static_cast<int>(name.size()),
                 name.data());
    std::abort();
}

} // namespace zk::view
