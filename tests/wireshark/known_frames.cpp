#include "wireshark/known_frames.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

#include "support/hex.h"

namespace zk::test {

namespace {

constexpr std::array<std::uint8_t, 4> pc{192, 168, 1, 100};
constexpr std::array<std::uint8_t, 4> controller{192, 168, 1, 200};
constexpr std::array<std::uint8_t, 4> everyone{255, 255, 255, 255};

UdpPacket to_controller(std::string_view hex)
{
    return {pc, 16006, controller, 16006, from_hex(hex)};
}

UdpPacket from_controller(std::string_view hex)
{
    return {controller, 16006, pc, 16006, from_hex(hex)};
}

// Bytes to place in a datagram: (offset, hex), later ones over earlier ones.
using Fields = std::vector<std::pair<std::size_t, std::string>>;

Fields plus(Fields fields, const Fields& more)
{
    fields.insert(fields.end(), more.begin(), more.end());
    return fields;
}

// `count` letters "A" as hex.
std::string letters_a(std::size_t count)
{
    std::string hex;
    for (std::size_t i = 0; i < count; ++i)
        hex += "41";
    return hex;
}

// A configuration datagram: flag, code, target MAC, then `fields` on zeros.
Bytes config(std::uint8_t code, const Fields& fields, std::size_t length = 285)
{
    Bytes d(length, 0);
    const std::string flag = "CH9121_CFG_FLAG";
    std::copy(flag.begin(), flag.end(), d.begin());
    d[16] = code;
    const Bytes mac = from_hex("84 C2 E4 01 0A FF");
    std::copy(mac.begin(), mac.end(), d.begin() + 17);
    for (const auto& [at, hex] : fields) {
        const Bytes bytes = from_hex(hex);
        std::copy(bytes.begin(), bytes.end(), d.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return d;
}

// A block as a module holds it: 192.168.1.200/24, gateway .1, server 192.168.1.100:16006.
Fields block_with(std::string_view mask)
{
    return {{29, "CC"},          {35, "5A 4B 2D 4E 45 54"}, // ZK-NET
            {62, "C0 A8 01 C8"}, {66, "C0 A8 01 01"},       {70, std::string(mask)},
            {173, "86 3E"},      {175, "C0 A8 01 64"},      {179, "86 3E"}};
}

UdpPacket module_says(Bytes datagram)
{
    return {controller, 50000, everyone, 60000, std::move(datagram)};
}

UdpPacket pc_asks(Bytes datagram)
{
    return {pc, 60000, everyone, 50000, std::move(datagram)};
}

std::array<std::uint8_t, 4> ipv4(const std::string& dotted)
{
    std::array<std::uint8_t, 4> out{};
    std::istringstream in(dotted);
    for (std::uint8_t& b : out) {
        unsigned n = 0;
        char dot = 0;
        in >> n;
        in >> dot;
        b = static_cast<std::uint8_t>(n);
    }
    return out;
}

} // namespace

std::vector<Labelled> hs3_frames()
{
    return {
        {"volume write", to_controller("48 53 33 FF 07 00 00 A8 C5 01 05 6E")},
        {"id reply", from_controller("48 53 33 FF 07 00 00 92 00 01 2C B8")},
        {"id reply, bad checksum", from_controller("48 53 33 FF 07 00 00 92 00 01 2C 00")},
        {"card count reply", from_controller("48 53 33 FF 08 00 00 A5 00 01 00 0C A0")},
        {"card lookup", to_controller("48 53 33 FF 0A 00 00 A5 00 02 00 12 D6 87 EE")},
        {"card register", to_controller("48 53 33 FF 0A 00 00 A5 C5 00 00 12 D6 87 29")},
        {"timings write", to_controller("48 53 33 FF 09 00 00 41 C5 02 1E 3C 5A F7")},
        {"codes write", to_controller("48 53 33 FF 17 00 00 45 C5 00 25 80 00 08 01 CE CE 00 "
                                      "CE CE 00 CE CE 00 CE CE 00 3B")},
        {"codes reply", from_controller("48 53 33 FF 19 00 00 45 00 00 25 80 00 08 01 CE CE 02 "
                                        "0A FF CE CE 00 CE CE 00 CE CE 00 07")},
        {"mode ack", from_controller("48 53 33 FF 05 00 00 A6 55 F6")},
        {"mode ack cut to 9 bytes", from_controller("48 53 33 FF 05 00 00 A6 55")},
        {"volume ack cut to 9 bytes", from_controller("48 53 33 FF 06 00 00 A8 55")},
        {"mode write", to_controller("48 53 33 FF 06 00 00 A6 C5 00 65")},
        {"fingerprint count read", to_controller("48 53 33 FF 05 00 00 A9 00 AC")},
        {"enrol", to_controller("48 53 33 FF 07 00 00 A5 C5 01 01 67")},
        {"pause", to_controller("48 53 33 FF 06 00 00 A4 C5 01 66")},
    };
}

std::vector<Labelled> config_datagrams()
{
    return {
        {"search", pc_asks(config(0x04, {{17, "00 00 00 00 00 00"}}))},
        {"search reply",
         module_says(config(
             0x84, {{29, "0B"}, {30, "C0 A8 01 C8"}, {34, "5A 4B 2D 4E 45 54 00"}, {41, "26"}}))},
        {"config reply", module_says(config(0x82, block_with("FF FF FF 00")))},
        {"write", pc_asks(config(0x01, {{62, "C0 A8 01 32"},
                                        {171, "03 00 86 3E"},
                                        {181, "00 C2 01 00 08 01 04 01 00 04 00 00 32"}}))},
        {"refused write", module_says(config(0xC1, plus(block_with("FF 00 FF 00"),
                                                        {{23, "00 E0 4C 11 22 33"}, {29, "00"}})))},
        {"refused gateway",
         module_says(config(0xC1, plus(block_with("FF FF FF 00"), {{66, "C0 A8 02 01"}})))},
        {"reset", pc_asks(config(0x03, {}))},
        {"reset reply", module_says(config(0x83, {}))},
        {"284 bytes", pc_asks(config(0x04, {}, 284))},
        {"240-byte search reply, name without end",
         module_says(config(0x84, {{29, "FF"}, {34, letters_a(206)}}, 240))},
    };
}

// The lines of the zksim capture, in order, as "zksim 1" to "zksim N".
std::vector<Labelled> zksim_capture(const std::string& file)
{
    std::ifstream in(file);
    std::vector<Labelled> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream columns(line);
        std::string from, to, hex;
        unsigned from_port = 0, to_port = 0;
        columns >> from >> from_port >> to >> to_port >> hex;
        out.push_back({"zksim " + std::to_string(out.size() + 1),
                       {ipv4(from), static_cast<std::uint16_t>(from_port), ipv4(to),
                        static_cast<std::uint16_t>(to_port), from_hex(hex)}});
    }
    return out;
}

} // namespace zk::test
