#pragma once
// One network module's settings, as the simulator keeps them: how they become the parameter
// block of its configuration reply, and how a written block becomes the settings. This is one
// module's model of the bytes the protocol leaves to each controller; no tool reads them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/bytes.h"
#include "base/ports.h"
#include "discovery/message.h"

namespace zk::discovery {

// The 204 bytes at 30-233 as the module stores them.
using StoredBlock = std::array<std::uint8_t, block_size>;

// The block as the module leaves the factory, for the bytes no setting below names: the second
// serial port's settings (104-168), empty domain names and 0xFF in the reserved bytes.
StoredBlock factory_block();

// Everything a module keeps; the field order follows its configuration block.
struct ModuleSettings
{
    Mac mac{};
    std::uint8_t device_type = 0x21;
    std::uint8_t device_subtype = 0x21;
    std::uint8_t device_index = 0;
    std::uint8_t hardware_version = 0x02;
    std::uint8_t software_version = 0x06;
    std::string name = "ZK-NET"; // at most 20 bytes are kept, zero-terminated
    Ipv4 ip{192, 168, 1, 200};
    Ipv4 gateway{192, 168, 1, 1};
    Ipv4 mask{255, 255, 255, 0};
    std::uint8_t dhcp = 0;
    std::uint8_t port_enabled = 1;
    std::uint8_t mode = 0; // 0 TCP server, 1 TCP client, 2 UDP server, 3 UDP client
    std::uint8_t random_local_port = 0;
    std::uint16_t local_port = hs3_remote_port; // where the controller takes commands
    Ipv4 destination_ip{192, 168, 1, 100};
    std::uint16_t destination_port = settings_local_port;
    std::uint32_t baud = 9600;
    std::uint8_t data_bits = 8;
    std::uint8_t stop_bits = 1;
    std::uint8_t parity = 4;
    // 188-196: flush flag, packet length 1024 and timeout 50, as the tool writes them too.
    std::array<std::uint8_t, 9> serial_rest{0x01, 0x00, 0x04, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00};
    // The whole block as last stored; the settings above are laid over it when it is sent, so it
    // only speaks for the bytes they do not name.
    StoredBlock block = factory_block();

    bool operator==(const ModuleSettings&) const = default;
};

// The search reply's version byte: hardware version in the high nibble, software in the low.
std::uint8_t version_byte(const ModuleSettings& module);

// The module's parameter block as its configuration reply carries it, laid over `head` (the
// answer's remainder: answer_head below).
ParameterBlock parameter_block(const ModuleSettings& module, Remainder head);

// Takes what a write carries; the module's identity (30-34), its MAC (56-61) and the port
// indices stay its own.
void store_block(ModuleSettings& module, const ParameterBlock& written);

// Back to `factory`, keeping the module's identity and MAC.
void restore_factory(ModuleSettings& module, const ModuleSettings& factory);

// A datagram the module answers at all: exactly 285 bytes carrying all 16 flag bytes.
bool strictly_formed(ByteView request);

// What an answer carries besides its own fields: the flag, the PC's MAC (23-28) of `request`
// echoed, and zeros.
Remainder answer_head(ByteView request);

// A write's answer, stored or refused: the head above, byte 29 zero and data 30-284 as the
// write request had them.
Remainder write_echo(ByteView request);

// The module's answer to a search: byte 29 counts the address and the zero-terminated name
// after it, then the version byte.
SearchReply search_answer(const ModuleSettings& module, ByteView request);

// The module's answer to a read: byte 29 = CC and its whole parameter block at 30-233.
ConfigReply config_answer(const ModuleSettings& module, ByteView request);

} // namespace zk::discovery
