#pragma once
// What every settings-window handler works with: the window's controls and the link to the one
// controller the window talks to.
#include "protocol/request.h"
#include "protocol/send_path.h"
#include "view/settings_view.h"

namespace zk::present {

struct SettingsContext
{
    SettingsView& view;
    const protocol::ControllerLink& link;
};

// Sends the request to the controller; a send the endpoint refuses is shown as "发送失败" in
// the status line instead of passing in silence. Returns the outcome for callers that report
// more (a request too long to frame is left to them).
protocol::SendOutcome send(SettingsContext& context, const protocol::Request& request);

} // namespace zk::present
