#pragma once
// The PC's adapters as the system reports them.
#include "base/adapter_source.h"

namespace zk {

// Every interface but loopback, in the system's order, up or down, so that a saved position keeps
// naming the same adapter when a cable is pulled elsewhere.
class SystemAdapters final : public AdapterSource
{
public:
    std::vector<Adapter> list() override;
};

} // namespace zk
