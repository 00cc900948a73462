#include "commands/fingerprints.h"

#include "protocol/hs3_frame.h"
#include "protocol/requests.h"

namespace zk::commands {

namespace {

constexpr auto op_write = static_cast<std::uint8_t>(protocol::Operation::write);
constexpr auto registry = static_cast<std::uint8_t>(protocol::Command::registry);
constexpr auto authorisation = static_cast<std::uint8_t>(protocol::Command::authorisation);

// The short-command twin of send_payload: a refused send still reaches the status line.
void send_short(SettingsContext& context, std::uint8_t command, int value)
{
    if (protocol::send_short_command(context.link, command, op_write, value) ==
        protocol::SendOutcome::send_failed)
        context.view.标签状态.set_caption(msg_send_failed);
}

} // namespace

void on_add_fingerprint(SettingsContext& context)
{
    context.view.编辑框指纹.set_content(msg_enter_fingerprint);
    send_payload(context, protocol::fingerprint_enrol());
}

void on_delete_fingerprint(SettingsContext& context)
{
    send_short(context, registry, 0x02);
}

void on_pause_authorisation(SettingsContext& context)
{
    send_short(context, authorisation, 0x01);
}

void on_resume_authorisation(SettingsContext& context)
{
    send_short(context, authorisation, 0x00);
}

} // namespace zk::commands
