#include "runtime/adapters.h"

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

bool is_listed(const QNetworkInterface& interface)
{
    const QNetworkInterface::InterfaceFlags flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) &&
           flags.testFlag(QNetworkInterface::IsRunning) &&
           flags.testFlag(QNetworkInterface::CanBroadcast) &&
           !flags.testFlag(QNetworkInterface::IsLoopBack);
}

} // namespace

std::vector<Adapter> SystemAdapters::list()
{
    std::vector<Adapter> adapters;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const QString address = first_ipv4(interface);
        if (!is_listed(interface) || address.isEmpty()) continue;
        // On Windows the human-readable name is the adapter's description.
        const QString text = interface.humanReadableName() + QLatin1Char(' ') + address;
        adapters.push_back({text.toStdString(), interface.index(), address.toStdString()});
    }
    return adapters;
}

} // namespace zk
