#include "view/layout.h"

namespace zk::view {

const ControlSpec* find_control(const WindowSpec& window, std::string_view name)
{
    for (const ControlSpec& control : window.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

} // namespace zk::view
