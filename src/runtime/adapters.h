#pragma once
// The PC's adapters as the system reports them.
#include "runtime/adapter_source.h"

namespace zk {

// Every interface that is up, running, can broadcast, is not loopback and has an IPv4 address,
// in the system's order, shown as "eth0 192.168.1.10".
class SystemAdapters final : public AdapterSource
{
public:
    std::vector<Adapter> list() override;
};

} // namespace zk
