#include "cli/adapter_choice.h"

#include "cli/outcome.h"

namespace zk::cli {

namespace {

constexpr const char* how_to_name = "--adapter NAME or --adapter ADDRESS";

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

std::string listed(const std::vector<const Adapter*>& adapters)
{
    std::string text;
    for (const Adapter* adapter : adapters)
        text += (text.empty() ? "" : ", ") + adapter->text;
    return text.empty() ? "none" : text;
}

std::vector<const Adapter*> all_of(const std::vector<Adapter>& adapters)
{
    std::vector<const Adapter*> pointers;
    for (const Adapter& adapter : adapters)
        pointers.push_back(&adapter);
    return pointers;
}

} // namespace

AdapterChoice choose_adapter(const std::vector<Adapter>& adapters, const std::string& name)
{
    if (!name.empty()) {
        for (const Adapter& adapter : adapters)
            if (names(adapter, name)) return {adapter, ""};
        throw Exit(exit_local_error, "--adapter: no adapter \"" + name +
                                         "\" (adapters: " + listed(all_of(adapters)) + ")");
    }
    std::vector<const Adapter*> connected;
    for (const Adapter& adapter : adapters)
        if (is_connected(adapter)) connected.push_back(&adapter);
    if (connected.empty())
        throw Exit(exit_local_error, "no network adapter is up with an IPv4 address (adapters: " +
                                         listed(all_of(adapters)) +
                                         "); connect one, or name it "
                                         "with " +
                                         how_to_name);
    if (connected.size() == 1) return {*connected.front(), ""};
    const std::vector<const Adapter*> others(connected.begin() + 1, connected.end());
    return {*connected.front(), "using " + connected.front()->text + ", the first of " +
                                    std::to_string(connected.size()) + " adapters up (also " +
                                    listed(others) + "); name another with " + how_to_name};
}

} // namespace zk::cli
