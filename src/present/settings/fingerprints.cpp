#include "present/settings/fingerprints.h"

#include "protocol/request.h"

namespace zk::present {

void on_add_fingerprint(SettingsContext& context)
{
    context.view.编辑框指纹.set_content(msg_enter_fingerprint);
    send(context, protocol::EnrolFingerprint{});
}

void on_delete_fingerprint(SettingsContext& context)
{
    send(context, protocol::DeleteFingerprint{});
}

void on_pause_authorisation(SettingsContext& context)
{
    send(context, protocol::SetAuthorisation{true});
}

void on_resume_authorisation(SettingsContext& context)
{
    send(context, protocol::SetAuthorisation{false});
}

} // namespace zk::present
