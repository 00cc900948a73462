#include "present/find/open_settings.h"

#include "base/text.h"

namespace zk {

namespace {

// Anything shorter is taken as a field the operator has not filled in yet.
constexpr int min_address_length = 8;

} // namespace

bool confirm_controller_address(std::string_view text, AppState& state, MessageBoxes& boxes)
{
    std::string address = trim_spaces(text);
    if (text_length(address) < min_address_length) {
        boxes.message_box(msg_enter_controller_ip);
        return false;
    }
    state.controller_address = std::move(address);
    return true;
}

} // namespace zk
