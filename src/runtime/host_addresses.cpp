#include "runtime/host_addresses.h"

#include <QHostInfo>
#include <QNetworkInterface>

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

} // namespace zk
