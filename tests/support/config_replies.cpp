#include "support/config_replies.h"

#include <algorithm>

#include "support/hex.h"

namespace zk::test {

void put(Bytes& data, std::size_t at, std::string_view hex)
{
    const Bytes bytes = from_hex(hex);
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
}

Bytes flagged(std::string_view code, const Bytes& mac, std::size_t length)
{
    Bytes data(length, 0);
    put(data, 0, flag_hex);
    put(data, 16, code);
    std::copy(mac.begin(), mac.end(), data.begin() + 17);
    return data;
}

Bytes search_reply_of(const Bytes& mac, std::string_view ip)
{
    Bytes data = flagged("84", mac);
    put(data, 30, ip);
    return data;
}

Bytes config_reply_of(const Bytes& mac, std::size_t length)
{
    Bytes data = flagged("82", mac, length);
    for (std::size_t i = 23; i < length; ++i)
        data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    put(data, 55, "00");
    put(data, 74, "00");
    put(data, 62, "C0 A8 01 C8");  // 192.168.1.200
    put(data, 66, "C0 A8 01 01");  // gateway 192.168.1.1
    put(data, 70, "FF FF FF 00");  // mask
    put(data, 175, "C0 A8 01 64"); // server 192.168.1.100
    put(data, 179, "86 3E");
    return data;
}

} // namespace zk::test
