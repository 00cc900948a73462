#pragma once
// One projector's serial settings and codes as the library and room files hold them: what the
// page's six controls are set to, and where the values came from.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace zk::projectors {

struct ProjectorEntry
{
    std::string brand;  // "Epson"
    std::string family; // protocol family, "ESC/VP21"
    std::vector<std::string> models;
    std::uint32_t baud = 0;     // one of the page's rates
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even: the index in the page's parity list
    std::array<Bytes, 4> codes; // power-on, power-off, video, computer; empty when not documented
    std::vector<std::string> sources; // the maker's document by title first
    std::string confidence;           // "documented" or "verified on hardware"
};

inline constexpr const char* confidence_documented = "documented";
inline constexpr const char* confidence_verified = "verified on hardware";

// "Epson ESC/VP21": how lists show the entry and how zkctl finds it.
std::string entry_name(const ProjectorEntry& entry);

// Whether the page's baud list has an item for this rate ("0" does not count: it is no rate).
bool baud_selectable(std::uint32_t baud);

// Why the entry cannot fill the page, or nullopt: its rate or parity has no item on the page,
// or its codes do not fit one request. Library entries must also name a source and say how
// sure they are.
std::optional<std::string> entry_problem(const ProjectorEntry& entry, bool library_entry);

} // namespace zk::projectors
