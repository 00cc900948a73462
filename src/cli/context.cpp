#include "cli/context.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "base/text.h"
#include "cli/outcome.h"

namespace zk::cli {

namespace {

// Listed with an address of its own; a pulled cable shows as "eth1 (未连接)".
bool is_connected(const Adapter& adapter)
{
    return !adapter.first_ipv4.empty() && adapter.text.ends_with(" " + adapter.first_ipv4);
}

// "eth0 192.168.1.10": the interface name (which may hold spaces on Windows), the whole text or
// the address all name it.
bool names(const Adapter& adapter, const std::string& name)
{
    const std::size_t suffix = is_connected(adapter)
                                   ? adapter.first_ipv4.size() + 1
                                   : adapter.text.size() - adapter.text.rfind(' ');
    const std::string interface = adapter.text.substr(0, adapter.text.size() - suffix);
    return name == interface || name == adapter.text ||
           (!name.empty() && name == adapter.first_ipv4);
}

} // namespace

Timing Context::timing() const
{
    const auto ms = static_cast<long long>(std::llround(globals.timeout_seconds * 1000));
    return {milliseconds(ms), globals.retries};
}

void Context::print(const nlohmann::ordered_json& result, const std::string& human) const
{
    if (globals.json)
        io.out << result.dump(2) << "\n";
    else
        io.out << human;
    io.out.flush();
}

void Context::warn(const std::string& line) const
{
    io.err << "zkctl: " << line << "\n";
    io.err.flush();
}

Hs3Target Context::target(const std::string& host) const
{
    return {host, globals.ports.hs3_remote, globals.ports.settings_local};
}

std::unique_ptr<Hs3Client> Context::controller(const std::string& host) const
{
    return std::make_unique<Hs3Client>(target(host), timing());
}

std::unique_ptr<ConfigClient> Context::modules() const
{
    const int interface = globals.adapter.empty() ? 0 : adapter().interface_index;
    return std::make_unique<ConfigClient>(
        ConfigTarget{globals.ports.find_local, globals.ports.config_remote, interface}, timing());
}

Adapter Context::adapter() const
{
    const std::vector<Adapter> all = io.adapters ? io.adapters->list() : std::vector<Adapter>{};
    std::string known;
    for (const Adapter& adapter : all) {
        if (globals.adapter.empty() ? is_connected(adapter) : names(adapter, globals.adapter))
            return adapter;
        known += (known.empty() ? "" : ", ") + adapter.text;
    }
    if (globals.adapter.empty())
        throw Exit(exit_local_error, "no network adapter with an IPv4 address is up");
    throw Exit(exit_local_error, "--adapter: no adapter \"" + globals.adapter +
                                     "\" (adapters: " + (known.empty() ? "none" : known) + ")");
}

void Context::fail_with(int code)
{
    status = std::max(status, code);
}

} // namespace zk::cli
