#pragma once
// Two connected adapters, counting how often they are listed: tests see whether a list was made
// afresh or reused.
#include <vector>

#include "base/adapter_source.h"

namespace zk::test {

class CountedAdapters final : public AdapterSource
{
public:
    std::vector<Adapter> list() override
    {
        ++enumerations;
        return adapters;
    }
    std::vector<Adapter> adapters{{"eth0 10.99.0.1", 2, "10.99.0.1", true},
                                  {"eth1 10.98.0.1", 3, "10.98.0.1", true}};
    int enumerations = 0;
};

} // namespace zk::test
