#pragma once
// What every settings-window handler works with: the window's controls and the link to the one
// controller the window talks to.
#include <string_view>

#include "protocol/send_path.h"
#include "runtime/bytes.h"
#include "view/settings_view.h"

namespace zk::commands {

struct SettingsContext
{
    SettingsView& view;
    const protocol::ControllerLink& link;
};

// Sends the payload to the controller; a send the endpoint refuses is shown as "发送失败" in
// the status line instead of passing in silence. Returns the outcome for callers that report
// more (a payload too long to frame is left to them).
protocol::SendOutcome send_payload(SettingsContext& context, ByteView payload);

// send_short_command with the same report of a refused send.
void send_short(SettingsContext& context, std::uint8_t command, std::uint8_t operation, int value);

} // namespace zk::commands
