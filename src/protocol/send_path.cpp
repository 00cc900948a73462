#include "protocol/send_path.h"

#include "protocol/hs3_frame.h"

namespace zk::protocol {

SendOutcome send_request(const ControllerLink& link, ByteView payload)
{
    const std::optional<Bytes> frame = wrap_frame(payload);
    // The length byte cannot describe a longer payload; a frame the controller would misread is
    // worse than none.
    if (!frame) return SendOutcome::payload_too_long;
    if (!link.sender.send(link.address, link.port, *frame)) return SendOutcome::send_failed;
    if (link.on_sent) link.on_sent(payload);
    return SendOutcome::sent;
}

SendOutcome send_short_command(const ControllerLink& link,
                               std::uint8_t command,
                               std::uint8_t operation,
                               int value)
{
    if (value < 0) {
        const std::uint8_t payload[] = {command, operation};
        return send_request(link, payload);
    }
    const std::uint8_t payload[] = {command, operation, static_cast<std::uint8_t>(value & 0xFF)};
    return send_request(link, payload);
}

} // namespace zk::protocol
