#pragma once
// Configuration datagrams as typed values, both ways: the find window and zkctl build requests
// and read replies, the simulated module decodes requests and answers through the same encoder.
// A datagram is looked at when it has at least 285 bytes and the letters CH9121 first; whatever
// decodes encodes back to the same bytes, the bytes no field names carried in each message's
// Remainder.
#include <optional>
#include <string>
#include <variant>

#include "base/bytes.h"
#include "discovery/parameter_block.h"

namespace zk::discovery {

struct SearchRequest // the all-zero MAC reaches every controller
{
    Mac mac{};
    Remainder other;
    bool operator==(const SearchRequest&) const = default;
};
struct ReadRequest
{
    Mac mac{};
    Remainder other;
    bool operator==(const ReadRequest&) const = default;
};
struct WriteRequest
{
    Mac mac{};
    ParameterBlock block;
    bool operator==(const WriteRequest&) const = default;
};
struct ResetRequest // back to factory settings
{
    Mac mac{};
    Remainder other;
    bool operator==(const ResetRequest&) const = default;
};

using Request = std::variant<SearchRequest, ReadRequest, WriteRequest, ResetRequest>;

// Only the MAC and the address are promised by every controller; the module's name and version
// are read only where the data length byte (29) describes them (the address, a zero-terminated
// name of 1 to 20 bytes, then the version byte), because other controllers put other things there.
struct SearchReply
{
    Mac mac{};
    Ipv4 ip{};
    std::string name;         // the module's bytes as they came; empty when none is described
    std::uint8_t version = 0; // hardware version in the high nibble, software in the low
    Remainder other;
    bool operator==(const SearchReply&) const = default;
};
struct ConfigReply
{
    Mac mac{};
    ParameterBlock block;
    bool operator==(const ConfigReply&) const = default;
};
struct WriteAck
{
    Mac mac{};
    Remainder other;
    bool operator==(const WriteAck&) const = default;
};
struct WriteRefused // the module kept its settings: the block it was sent is invalid
{
    Mac mac{};
    Remainder other;
    bool operator==(const WriteRefused&) const = default;
};
struct ResetAck
{
    Mac mac{};
    Remainder other;
    bool operator==(const ResetAck&) const = default;
};

using Reply = std::variant<SearchReply, ConfigReply, WriteAck, WriteRefused, ResetAck>;

// The datagram of a message: at least 285 bytes, as long as its remainder.
Bytes encode(const Request& request);
Bytes encode(const Reply& reply);

// The message a datagram carries; nullopt when it is shorter than 285 bytes, lacks the letters
// CH9121 at 0-5 or carries a code of the other direction or none at all.
std::optional<Request> decode_request(ByteView datagram);
std::optional<Reply> decode_reply(ByteView datagram);

// The MAC every message carries at 17-22.
Mac mac_of(const Request& request);
Mac mac_of(const Reply& reply);

// A write built on the controller's last configuration reply: its MAC, the operator's
// parameters, the serial constants every write sets, and every other byte as `held` had it.
WriteRequest write_request(const ConfigReply& held, const NetworkParameters& parameters);

// `reply` as a module takes it back in a write: its first 285 bytes, nothing longer.
ConfigReply at_datagram_length(ConfigReply reply);

// "2.6": the hardware and software versions of a search reply's version byte.
std::string version_text(std::uint8_t version);

} // namespace zk::discovery
