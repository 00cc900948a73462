#pragma once
// Which module settings have already been through the state file. Most inputs are small
// mutations of one another and end in a state seen shortly before; writing and reading that
// same state again shows nothing new, and the JSON text round trip costs more than the run of
// requests that led to it. Every state not among the recent ones is still checked in full.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "sim/module_settings.h"

namespace zk::fuzz {

// A direct-mapped table: a state takes the slot its key names, pushing out whichever was there.
// Once every slot has held a state, remembering allocates nothing more, so that libFuzzer does
// not take the table for a leak and run every input that fills a slot a second time.
class CheckedStates
{
public:
    explicit CheckedStates(std::size_t slots) : slots_(slots) {}

    // True when exactly these settings were remembered and are still in their slot.
    bool contains(const std::vector<sim::ModuleSettings>& modules) const
    {
        const Slot& slot = slots_[index_of(modules)];
        return slot.used && slot.modules == modules;
    }

    void remember(const std::vector<sim::ModuleSettings>& modules)
    {
        Slot& slot = slots_[index_of(modules)];
        slot.modules = modules;
        slot.used = true;
    }

private:
    struct Slot
    {
        bool used = false;
        std::vector<sim::ModuleSettings> modules;
    };

    // What differs between two states is nearly always a name, an address or the block; the
    // comparison in contains() looks at every field.
    static std::size_t key_of(const std::vector<sim::ModuleSettings>& modules)
    {
        std::string bytes;
        for (const sim::ModuleSettings& m : modules) {
            bytes.append(m.name).push_back('\0');
            bytes.append(m.ip.begin(), m.ip.end());
            bytes.append(m.block.begin(), m.block.end());
        }
        return std::hash<std::string>{}(bytes);
    }

    std::size_t index_of(const std::vector<sim::ModuleSettings>& modules) const
    {
        return key_of(modules) % slots_.size();
    }

    std::vector<Slot> slots_;
};

} // namespace zk::fuzz
