#include "present/find/find_watch.h"

#include "discovery/config_datagram.h"

namespace zk::discovery {

namespace {

using namespace std::chrono_literals;

constexpr FindWatch::Time find_wait = 3s;

constexpr std::uint8_t code_byte(ConfigCode code)
{
    return static_cast<std::uint8_t>(code);
}

// The request code a reply answers; nullopt for codes nobody waits on.
std::optional<std::uint8_t> answered_request(std::uint8_t reply)
{
    if (reply == code_byte(ConfigCode::search_reply)) return code_byte(ConfigCode::search_request);
    // A refused write was answered all the same.
    if (reply == code_byte(ConfigCode::write_ack) || reply == code_byte(ConfigCode::write_refused))
        return code_byte(ConfigCode::write_request);
    return std::nullopt;
}

} // namespace

void FindWatch::sent(ByteView request, Time now)
{
    if (request.size() <= offset::code) return;
    const std::uint8_t code = request[offset::code];
    if (code == code_byte(ConfigCode::search_request) ||
        code == code_byte(ConfigCode::write_request))
        pending_.start(code, now + find_wait);
}

bool FindWatch::arrived(ByteView datagram)
{
    const std::optional<std::uint8_t> code = accepted_code(datagram);
    if (!code) return false;
    const std::optional<std::uint8_t> request = answered_request(*code);
    return request && pending_.answer(*request);
}

void FindWatch::expire(Time now, MessageBoxes& boxes)
{
    for (const PendingRequests::Wait& wait : pending_.expire(now))
        boxes.message_box(wait.key == code_byte(ConfigCode::search_request)
                              ? msg_none_found
                              : msg_write_unconfirmed);
}

} // namespace zk::discovery
