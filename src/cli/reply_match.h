#pragma once
// Which HS3 datagram answers which request: the same command, the reply operation that belongs
// to the request's operation (data for a read, acknowledgement for a write) and, where the
// command has one, the same sub-code. The sender is checked by the client, which knows it.
#include <cstdint>
#include <optional>

#include "runtime/bytes.h"

namespace zk::cli {

struct ReplyKey
{
    std::uint8_t command = 0;
    std::uint8_t operation = 0;
    std::optional<std::uint8_t> sub_code; // frame byte 9 of the reply
    bool operator==(const ReplyKey&) const = default;
};

// The key an answer to this request payload carries; nullopt for a payload without command and
// operation, or with an operation that has no answer.
std::optional<ReplyKey> expected_reply(ByteView payload);

// True when the datagram is an HS3 frame carrying `key`.
bool carries(ByteView datagram, const ReplyKey& key);

} // namespace zk::cli
