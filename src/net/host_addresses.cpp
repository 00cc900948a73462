#include "net/host_addresses.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <algorithm>

#include "base/ipv4_text.h"

namespace zk {

std::vector<std::string> host_addresses()
{
    constexpr std::size_t most = 10;
    std::vector<std::string> addresses;
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        addresses.push_back(address.toString().toStdString());
        if (addresses.size() == most) break;
    }
    return addresses;
}

std::vector<std::string> interface_addresses()
{
    std::vector<std::string> addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            addresses.push_back(address.toString().toStdString());
    }
    return addresses;
}

bool is_this_pc(std::string_view dotted)
{
    if (dotted.starts_with("127.")) return true;
    const std::vector<std::string> own = interface_addresses();
    return std::find(own.begin(), own.end(), dotted) != own.end();
}

std::string resolve_ipv4(std::string_view text)
{
    if (const std::optional<Ipv4Bytes> dotted = parse_dotted_ipv4(text))
        return std::to_string((*dotted)[0]) + "." + std::to_string((*dotted)[1]) + "." +
               std::to_string((*dotted)[2]) + "." + std::to_string((*dotted)[3]);
    if (looks_numeric(text)) return {};
    const QString name = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // The look-up would read a literal itself, in the C library's way (octal, hex, IPv6).
    if (QHostAddress literal; literal.setAddress(name)) return {};
    for (const QHostAddress& candidate : QHostInfo::fromName(name).addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol)
            return candidate.toString().toStdString();
    }
    return {};
}

} // namespace zk
