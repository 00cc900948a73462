#include "projectors/projector_entry.h"

#include <string_view>

#include "protocol/request.h"
#include "protocol/serial_line.h"

namespace zk::projectors {

std::string entry_name(const ProjectorEntry& entry)
{
    if (entry.family.empty()) return entry.brand;
    if (entry.brand.empty()) return entry.family;
    return entry.brand + " " + entry.family;
}

bool baud_selectable(std::uint32_t baud)
{
    const std::string text = std::to_string(baud);
    for (std::string_view rate : protocol::baud_rates) {
        if (rate == text) return true;
    }
    return false;
}

std::optional<std::string> entry_problem(const ProjectorEntry& entry, bool library_entry)
{
    if (!baud_selectable(entry.baud))
        return "baud " + std::to_string(entry.baud) + " is not one of the page's rates";
    if (entry.parity >= protocol::parity_names.size())
        return "parity " + std::to_string(entry.parity) + " is not none, odd or even";
    if (!protocol::projector_codes_fit(entry.codes))
        return "the four codes hold more than " +
               std::to_string(protocol::projector_code_capacity) +
               " bytes, more than one request carries";
    if (!library_entry) return std::nullopt;
    if (entry.brand.empty() || entry.family.empty()) return "brand and family must not be empty";
    if (entry.sources.empty() || entry.sources.front().empty())
        return "no source: name the maker's protocol document";
    if (entry.confidence != confidence_documented && entry.confidence != confidence_verified)
        return "confidence must be \"documented\" or \"verified on hardware\", not \"" +
               entry.confidence + "\"";
    return std::nullopt;
}

} // namespace zk::projectors
