#include "base/adapter_source.h"

namespace zk {

std::string adapter_text(std::string_view name, std::string_view ipv4, bool connected)
{
    if (!connected || ipv4.empty()) return std::string(name) + " (未连接)";
    return std::string(name) + " " + std::string(ipv4);
}

} // namespace zk
