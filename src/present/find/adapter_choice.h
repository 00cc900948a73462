#pragma once
// What the find window needs of its adapter list: the programs keep it in system.ini
// (app/adapter_list), tests in memory.
#include <vector>

#include "base/adapter_source.h"
#include "view/controls.h"

namespace zk {

class AdapterChoice
{
public:
    virtual ~AdapterChoice() = default;
    // Refills the list from a fresh enumeration.
    virtual void fill() = 0;
    // Selects the position saved before; once, right after the first fill.
    virtual void restore() = 0;
    // The operator picked an item: keeps it, telling a failure to keep it in `boxes`.
    virtual void remember(MessageBoxes& boxes) = 0;
    // The adapters behind the items, as last enumerated.
    virtual const std::vector<Adapter>& adapters() const = 0;
    // The system's index of the selected adapter; 0 (the default route) when none is selected.
    virtual int selected_interface() const = 0;
};

} // namespace zk
