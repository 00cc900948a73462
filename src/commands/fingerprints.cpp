#include "commands/fingerprints.h"

#include "protocol/codes.h"
#include "protocol/requests.h"

namespace zk::commands {

namespace {

constexpr std::uint8_t registry = protocol::byte_of(protocol::Command::registry);
constexpr std::uint8_t authorisation = protocol::byte_of(protocol::Command::authorisation);

} // namespace

void on_add_fingerprint(SettingsContext& context)
{
    context.view.编辑框指纹.set_content(msg_enter_fingerprint);
    send_payload(context, protocol::fingerprint_enrol());
}

void on_delete_fingerprint(SettingsContext& context)
{
    send_short(context, registry, protocol::op_write, protocol::registry_write::delete_fingerprint);
}

void on_pause_authorisation(SettingsContext& context)
{
    send_short(context, authorisation, protocol::op_write, protocol::authorisation_paused);
}

void on_resume_authorisation(SettingsContext& context)
{
    send_short(context, authorisation, protocol::op_write, protocol::authorisation_resumed);
}

} // namespace zk::commands
