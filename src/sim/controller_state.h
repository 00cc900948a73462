#pragma once
// What a simulated controller remembers, and its JSON form for the state file, so settings
// written by the tool survive a restart of the simulator.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "base/json_reading.h"
#include "protocol/request.h"

namespace zk::sim {

struct ControllerState
{
    std::uint16_t controller_id = 1;
    std::uint8_t volume = 5;
    std::uint8_t screen_interval = 10; // seconds
    std::uint8_t warm_up = 30;
    std::uint8_t cool_down = 60;
    bool swipe_card_mode = false; // false: public mode
    protocol::ProjectorCodes projector{9600, 0, {}};
    std::set<std::uint32_t> cards;
    std::uint16_t fingerprints = 0;
    bool authorisation_paused = false;

    // Field by field; the serial settings are compared through their parts.
    bool operator==(const ControllerState& other) const;
};

// Hex pairs separated by spaces back to bytes (either case); nullopt for anything else. The
// state file writes bytes that are no text with hex_bytes_text.
std::optional<Bytes> bytes_of_hex_pairs(std::string_view text);

// The state as a JSON object; codes as hex pairs ("7E 30 0D") so the file stays readable.
nlohmann::json state_to_json(const ControllerState& state);

// Missing keys keep their defaults; a key not known, or a value of the wrong type or range, is
// refused naming its path.
ControllerState controller_state_from(const JsonAt& in);

// Missing keys keep their defaults; an unknown key, or a value of the wrong type or range, gives
// "state: PATH.KEY: problem"; `path` is where the object sits in the state file.
std::variant<ControllerState, std::string> state_from_json(const nlohmann::json& json,
                                                           std::string_view path = "controller");

} // namespace zk::sim
