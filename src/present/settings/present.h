#pragma once
// The settings window's side of a reply: the status messages and where each value goes. The
// only place that knows these texts.
#include <optional>

#include "base/bytes.h"
#include "protocol/replies.h"
#include "protocol/send_path.h"
#include "view/settings_view.h"

namespace zk::protocol {

// Writes what the reply says into the view, in the order the operator sees it; after a card
// count it asks the controller for the fingerprint count (A9 00).
void present_reply(const Reply& reply, SettingsView& view, const ControllerLink& link);

// The data-arrived handler of the settings window: decodes the datagram and presents it; a
// datagram that is not a known answer changes nothing. Returns what was presented.
std::optional<Reply>
on_settings_datagram(ByteView datagram, SettingsView& view, const ControllerLink& link);

} // namespace zk::protocol
