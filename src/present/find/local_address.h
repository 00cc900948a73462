#pragma once
// Which of this PC's addresses 编辑框本机IP shows.
#include <string>
#include <vector>

#include "base/adapter_source.h"

namespace zk::present {

// The first address the PC's own name resolves to, unless all of them are loopback (commonly
// 127.0.1.1 on Linux): then the first IPv4 of the selected adapter, else the first non-loopback
// address of any adapter; empty when there is none.
std::string shown_local_address(const std::vector<std::string>& host_addresses,
                                const std::vector<Adapter>& adapters,
                                int selected_adapter);

} // namespace zk::present
