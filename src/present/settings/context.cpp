#include "present/settings/context.h"

namespace zk::present {

protocol::SendOutcome send(SettingsContext& context, const protocol::Request& request)
{
    const protocol::SendOutcome outcome = protocol::send_request(context.link, request);
    if (outcome == protocol::SendOutcome::send_failed)
        context.view.标签状态.set_caption(msg_send_failed);
    return outcome;
}

} // namespace zk::present
