#include "cli/reply_match.h"

#include "protocol/codes.h"

namespace zk::cli {

namespace {

using protocol::Command;

// Commands whose third payload byte comes back at frame byte 9: the registry's sub-code, the
// volume's channel constant and the authorisation state asked for.
bool echoes_sub_code(std::uint8_t command)
{
    return command == protocol::byte_of(Command::registry) ||
           command == protocol::byte_of(Command::volume) ||
           command == protocol::byte_of(Command::authorisation);
}

} // namespace

std::optional<ReplyKey> expected_reply(ByteView payload)
{
    if (payload.size() < 2) return std::nullopt;
    ReplyKey key{payload[0], 0, std::nullopt};
    if (payload[1] == protocol::op_read)
        key.operation = protocol::op_read;
    else if (payload[1] == protocol::op_write)
        key.operation = protocol::op_ack;
    else
        return std::nullopt;
    if (echoes_sub_code(key.command) && payload.size() >= 3) key.sub_code = payload[2];
    return key;
}

bool carries(ByteView datagram, const ReplyKey& key)
{
    if (!protocol::looks_like_frame(datagram)) return false;
    if (datagram[protocol::command_offset] != key.command ||
        datagram[protocol::operation_offset] != key.operation)
        return false;
    if (!key.sub_code) return true;
    return datagram.size() > protocol::data_offset &&
           datagram[protocol::data_offset] == *key.sub_code;
}

} // namespace zk::cli
