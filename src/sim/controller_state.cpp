#include "sim/controller_state.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/text.h"
#include "base/values.h"

namespace zk::sim {

namespace {

using nlohmann::json;

constexpr const char* code_keys[] = {"power_on", "power_off", "video", "computer"};

// Reads an unsigned number no greater than `max` into `out` when the key is present.
template <typename T>
bool read_number(const json& in, const char* key, std::uint64_t max, T& out, std::string& error)
{
    if (!in.contains(key)) return true;
    const json& value = in.at(key);
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > max) {
        error = std::string("state: \"") + key + "\" must be a whole number from 0 to " +
                std::to_string(max);
        return false;
    }
    out = static_cast<T>(value.get<std::uint64_t>());
    return true;
}

bool read_flag(const json& in, const char* key, bool& out, std::string& error)
{
    if (!in.contains(key)) return true;
    if (!in.at(key).is_boolean()) {
        error = std::string("state: \"") + key + "\" must be true or false";
        return false;
    }
    out = in.at(key).get<bool>();
    return true;
}

bool read_codes(const json& in,
                std::string_view path,
                protocol::ProjectorCodes& out,
                std::string& error)
{
    if (!in.contains("codes")) return true;
    const json& codes = in.at("codes");
    if (!codes.is_object()) {
        error = "state: \"codes\" must be an object of code texts";
        return false;
    }
    error = unknown_key(codes, {code_keys[0], code_keys[1], code_keys[2], code_keys[3]},
                        std::string(path) + ".codes");
    if (!error.empty()) return false;
    for (std::size_t i = 0; i < out.codes.size(); ++i) {
        if (!codes.contains(code_keys[i])) continue;
        const json& text = codes.at(code_keys[i]);
        std::optional<Bytes> bytes =
            text.is_string() ? bytes_of_hex_pairs(text.get<std::string>()) : std::nullopt;
        if (!bytes) {
            error = std::string("state: code \"") + code_keys[i] + "\" must be hex pairs";
            return false;
        }
        out.codes[i] = std::move(*bytes);
    }
    if (!protocol::projector_codes_fit(out.codes)) {
        error = "state: the four codes hold more than " +
                std::to_string(protocol::projector_code_capacity) + " bytes";
        return false;
    }
    return true;
}

bool read_cards(const json& in, std::set<std::uint32_t>& out, std::string& error)
{
    if (!in.contains("cards")) return true;
    const json& cards = in.at("cards");
    if (!cards.is_array()) {
        error = "state: \"cards\" must be a list of card numbers";
        return false;
    }
    // The card count travels in 16 bits; a longer registry would be reported wrapped.
    if (cards.size() > 0xFFFF) {
        error = "state: \"cards\" holds more than 65535 cards";
        return false;
    }
    out.clear();
    for (const json& card : cards) {
        if (!card.is_number_unsigned() || card.get<std::uint64_t>() > 0xFFFFFFFFu) {
            error = "state: every card must be a number from 0 to 4294967295";
            return false;
        }
        out.insert(card.get<std::uint32_t>());
    }
    return true;
}

} // namespace

std::string unknown_key(const json& object,
                        std::initializer_list<std::string_view> known,
                        std::string_view path)
{
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end())
            return "state: unknown key \"" + std::string(path) + "." + key + "\"";
    }
    return {};
}

std::optional<Bytes> bytes_of_hex_pairs(std::string_view text)
{
    Bytes bytes;
    for (const std::string& token : split_text(text, " ")) {
        if (token.empty()) continue; // spaces between pairs, however many
        // A lone digit is half a byte lost in editing, not a byte.
        const std::optional<std::uint8_t> byte =
            token.size() == 2 ? parse_hex_byte(token) : std::nullopt;
        if (!byte) return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

bool ControllerState::operator==(const ControllerState& o) const
{
    return controller_id == o.controller_id && volume == o.volume &&
           screen_interval == o.screen_interval && warm_up == o.warm_up &&
           cool_down == o.cool_down && swipe_card_mode == o.swipe_card_mode &&
           projector.baud == o.projector.baud && projector.parity == o.projector.parity &&
           projector.codes == o.projector.codes && cards == o.cards &&
           fingerprints == o.fingerprints && authorisation_paused == o.authorisation_paused;
}

json state_to_json(const ControllerState& state)
{
    json codes = json::object();
    for (std::size_t i = 0; i < state.projector.codes.size(); ++i)
        codes[code_keys[i]] = hex_bytes_text(state.projector.codes[i]);
    return {{"controller_id", state.controller_id},
            {"volume", state.volume},
            {"screen_interval", state.screen_interval},
            {"warm_up", state.warm_up},
            {"cool_down", state.cool_down},
            {"swipe_card_mode", state.swipe_card_mode},
            {"baud", state.projector.baud},
            {"parity", state.projector.parity},
            {"codes", codes},
            {"cards", state.cards},
            {"fingerprints", state.fingerprints},
            {"authorisation_paused", state.authorisation_paused}};
}

std::variant<ControllerState, std::string> state_from_json(const json& in, std::string_view path)
{
    if (!in.is_object()) return std::string("state: not a JSON object");
    std::string error = unknown_key(in,
                                    {"controller_id", "volume", "screen_interval", "warm_up",
                                     "cool_down", "swipe_card_mode", "baud", "parity", "codes",
                                     "cards", "fingerprints", "authorisation_paused"},
                                    path);
    if (!error.empty()) return error;
    ControllerState s;
    const bool ok = read_number(in, "controller_id", 0xFFFF, s.controller_id, error) &&
                    read_number(in, "volume", 0xFF, s.volume, error) &&
                    read_number(in, "screen_interval", 0xFF, s.screen_interval, error) &&
                    read_number(in, "warm_up", 0xFF, s.warm_up, error) &&
                    read_number(in, "cool_down", 0xFF, s.cool_down, error) &&
                    read_flag(in, "swipe_card_mode", s.swipe_card_mode, error) &&
                    read_number(in, "baud", 0xFFFFFF, s.projector.baud, error) &&
                    read_number(in, "parity", 0xFF, s.projector.parity, error) &&
                    read_codes(in, path, s.projector, error) && read_cards(in, s.cards, error) &&
                    read_number(in, "fingerprints", 0xFFFF, s.fingerprints, error) &&
                    read_flag(in, "authorisation_paused", s.authorisation_paused, error);
    if (!ok) return error;
    return s;
}

} // namespace zk::sim
