#include "base/ipv4_text.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/text.h"
#include "base/values.h"

namespace zk {

namespace {

bool is_hex_digit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::optional<Ipv4Bytes> parse_dotted_ipv4(std::string_view text)
{
    const std::string compact = remove_spaces(text);
    const TextArray pieces = split_text(compact, ".");
    // A trailing dot gives no piece when splitting, but it is no address either.
    if (pieces.size() != 4 || compact.back() == '.') return std::nullopt;
    Ipv4Bytes address{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<std::uint32_t> number = parse_decimal(pieces[i], 255);
        if (!number) return std::nullopt;
        address[i] = static_cast<std::uint8_t>(*number);
    }
    return address;
}

bool looks_numeric(std::string_view text)
{
    const std::string compact = remove_spaces(text);
    if (compact.empty()) return false;
    // A host name's last label is never a number, so the last label decides.
    const std::size_t dot = compact.rfind('.');
    const std::string_view last =
        std::string_view(compact).substr(dot == std::string::npos ? 0 : dot + 1);
    const auto all = [](std::string_view s, bool (*pred)(char)) {
        return !s.empty() && std::all_of(s.begin(), s.end(), pred);
    };
    if (last.empty() || all(last, [](char c) { return c >= '0' && c <= '9'; })) return true;
    return last.size() > 2 && last[0] == '0' && (last[1] == 'x' || last[1] == 'X') &&
           all(last.substr(2), is_hex_digit);
}

std::uint32_t ipv4_number(const Ipv4Bytes& address)
{
    return read_be32(address, 0);
}

Ipv4Bytes ipv4_bytes(std::uint32_t number)
{
    return {static_cast<std::uint8_t>(number >> 24), static_cast<std::uint8_t>(number >> 16),
            static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
}

std::optional<std::uint32_t> parse_ipv4_number(std::string_view text)
{
    const std::optional<Ipv4Bytes> address = parse_dotted_ipv4(text);
    if (!address) return std::nullopt;
    return ipv4_number(*address);
}

std::string ipv4_text(const Ipv4Bytes& address)
{
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

std::string prefix_netmask_text(unsigned length)
{
    if (length > 32) return {};
    const std::uint32_t mask = length == 0 ? 0 : ~std::uint32_t{0} << (32 - length);
    return ipv4_text(ipv4_bytes(mask));
}

} // namespace zk
