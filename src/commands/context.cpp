#include "commands/context.h"

namespace zk::commands {

protocol::SendOutcome send_payload(SettingsContext& context, ByteView payload)
{
    const protocol::SendOutcome outcome = protocol::send_request(context.link, payload);
    if (outcome == protocol::SendOutcome::send_failed)
        context.view.标签状态.set_caption(msg_send_failed);
    return outcome;
}

void send_short(SettingsContext& context, std::uint8_t command, std::uint8_t operation, int value)
{
    if (protocol::send_short_command(context.link, command, operation, value) ==
        protocol::SendOutcome::send_failed)
        context.view.标签状态.set_caption(msg_send_failed);
}

} // namespace zk::commands
