#include "protocol/send_path.h"

#include "protocol/hs3_frame.h"

namespace zk::protocol {

SendOutcome send_request(const ControllerLink& link, const Request& request)
{
    const std::optional<Bytes> frame = wrap_frame(encode_request(request));
    // The length byte cannot describe a longer payload; a frame the controller would misread is
    // worse than none.
    if (!frame) return SendOutcome::payload_too_long;
    if (!link.sender.send(link.address, link.port, *frame)) return SendOutcome::send_failed;
    if (link.on_sent) link.on_sent(request);
    return SendOutcome::sent;
}

} // namespace zk::protocol
