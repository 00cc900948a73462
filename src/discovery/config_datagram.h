#pragma once
// The network module's configuration datagram: a 285-byte block flagged "CH9121_CFG_FLAG", with
// no length field and no checksum; its layout is in parameter_block.h.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "discovery/parameter_block.h"

namespace zk::discovery {

inline constexpr std::string_view config_flag = "CH9121_CFG_FLAG";

enum class ConfigCode : std::uint8_t
{
    write_request = 0x01,
    read_request = 0x02,
    reset_request = 0x03, // back to factory settings
    search_request = 0x04,
    write_ack = 0x81,
    write_refused = 0xC1, // the module kept its settings: the block it was sent is invalid
    config_reply = 0x82,
    reset_ack = 0x83,
    search_reply = 0x84,
};

// A 285-byte request: the flag, the code, then `payload` from offset 17; every other byte zero.
Bytes config_request(ConfigCode code, ByteView payload);

// The search request: code 04 and six zero bytes.
Bytes search_request();

// The read-configuration request for one MAC: code 02.
Bytes read_request(ByteView mac);

// The code of a datagram worth looking at: at least 285 bytes and the letters CH9121 at 0-5
// (the rest of the flag is not compared); nullopt for anything else.
std::optional<std::uint8_t> accepted_code(ByteView datagram);

// True for a search reply: every controller of a segment answers one search at once, so these
// come in bursts (the endpoint gathers them; everything else is handed over as it comes).
bool comes_in_bursts(ByteView datagram);

// The six MAC bytes at 17-22; the caller has checked the length.
Bytes mac_at(ByteView datagram);

// Four bytes as "192.168.1.200".
std::string dotted(ByteView datagram, std::size_t at);

// "MAC:84:C2:E4:1:A:FF IP:192.168.1.200" for a search reply.
std::string search_entry(ByteView reply);

// The same line for a MAC and an address: a controller's line after a write.
std::string list_entry(ByteView mac, const Ipv4& ip);

// "MAC:84:C2:E4:1:A:FF", the MAC as its line shows it.
std::string mac_entry(ByteView mac);

// The remote port of a configuration block (low byte at 179) as decimal text.
std::string port_text(ByteView block);

// True when `block` is a configuration reply (code 82) of exactly this MAC.
bool is_config_reply_of(ByteView block, ByteView mac);

// A write-configuration request built on a copy of `held`, at its full length: code 01, the MAC,
// the parameters and the fixed serial and port constants; every other byte as held.
Bytes write_request(ByteView held, ByteView mac, const NetworkParameters& parameters);

// "baud 9600 → 115200" for each setting a write request's constants change in `held`, in block
// order; the operator sees everything a write changes, not only the fields asked for.
std::vector<std::string> constant_changes(ByteView held, ByteView request);

} // namespace zk::discovery
