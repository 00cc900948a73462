#include "net/adapters.h"

#include <QNetworkInterface>

namespace zk {

namespace {

QString first_ipv4(const QNetworkInterface& interface)
{
    for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) return entry.ip().toString();
    }
    return {};
}

bool is_connected(const QNetworkInterface& interface)
{
    const QNetworkInterface::InterfaceFlags flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning);
}

} // namespace

std::vector<Adapter> SystemAdapters::list()
{
    std::vector<Adapter> adapters;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (interface.flags().testFlag(QNetworkInterface::IsLoopBack)) continue;
        const std::string address = first_ipv4(interface).toStdString();
        // On Windows the human-readable name is the adapter's description.
        const std::string name = interface.humanReadableName().toStdString();
        const bool connected = is_connected(interface);
        adapters.push_back(
            {adapter_text(name, address, connected), interface.index(), address, connected});
    }
    return adapters;
}

} // namespace zk
