#pragma once
// Which handler each button of the settings window runs: the toolkits bind their clicks from this
// one table, so the two front ends cannot differ in what a button does.
#include <span>
#include <string_view>

#include "present/settings/context.h"

namespace zk::present {

struct ButtonAction
{
    std::string_view button; // the control's name in the layout
    void (*handler)(SettingsContext& context);
};

// Every button of the settings window that has an action (the spin arrows have none).
std::span<const ButtonAction> settings_buttons();

} // namespace zk::present
