#pragma once
// Which adapter zkctl broadcasts through: the one named by --adapter, else the first that is up
// with an IPv4 address, as the Windows windows pick. A pure function over the adapter list, so
// that tests hand in the PCs they want.
#include <string>
#include <vector>

#include "base/adapter_source.h"

namespace zk::cli {

struct AdapterChoice
{
    Adapter adapter;
    // Empty, or for the operator when the choice was not the only one possible: which adapters
    // were passed over and how to name another.
    std::string note;
};

// The adapter `name` names (its interface name, its whole text or its address), or with an
// empty `name` the first connected one. Throws Exit (local error) listing the adapters when
// none fits.
AdapterChoice choose_adapter(const std::vector<Adapter>& adapters, const std::string& name);

} // namespace zk::cli
