#pragma once
// The settings window's side of a reply: the status messages and where each value goes. The
// only place that knows these texts.
#include <optional>

#include "base/bytes.h"
#include "protocol/replies.h"
#include "protocol/send_path.h"
#include "view/settings_view.h"

namespace zk::present {

// Writes what the reply says into the view, in the order the operator sees it; after a card
// count it asks the controller for the fingerprint count (A9 00).
void present_reply(const protocol::Reply& reply,
                   SettingsView& view,
                   const protocol::ControllerLink& link);

// The data-arrived handler of the settings window: decodes the datagram and presents it; a
// datagram that is not a known answer changes nothing. Returns what was presented.
std::optional<protocol::Reply>
on_settings_datagram(ByteView datagram, SettingsView& view, const protocol::ControllerLink& link);

} // namespace zk::present
