#include "sim/controller_state.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/json_reading.h"
#include "base/text.h"
#include "base/values.h"

namespace zk::sim {

namespace {

constexpr const char* code_keys[] = {"power_on", "power_off", "video", "computer"};

// Reads an unsigned number no greater than `max` into `out` when the key is present.
template <typename T> void read_number(const JsonAt& in, const char* key, std::uint64_t max, T& out)
{
    if (in.has(key)) out = static_cast<T>(in[key].whole_number(max));
}

void read_flag(const JsonAt& in, const char* key, bool& out)
{
    if (in.has(key)) out = in[key].flag();
}

void read_codes(const JsonAt& in, protocol::ProjectorCodes& out)
{
    if (!in.has("codes")) return;
    const JsonAt codes = in["codes"];
    codes.only_keys({code_keys[0], code_keys[1], code_keys[2], code_keys[3]});
    for (std::size_t i = 0; i < out.codes.size(); ++i) {
        if (!codes.has(code_keys[i])) continue;
        const JsonAt text = codes[code_keys[i]];
        std::optional<Bytes> bytes = bytes_of_hex_pairs(text.text());
        if (!bytes) text.refuse("expected hex pairs (\"7E 30 0D\")");
        out.codes[i] = std::move(*bytes);
    }
    if (!protocol::projector_codes_fit(out.codes))
        codes.refuse("the four codes hold more than " +
                     std::to_string(protocol::projector_code_capacity) + " bytes");
}

void read_cards(const JsonAt& in, std::set<std::uint32_t>& out)
{
    if (!in.has("cards")) return;
    const std::vector<JsonAt> cards = in["cards"].list();
    // The card count travels in 16 bits; a longer registry would be reported wrapped.
    if (cards.size() > 0xFFFF) in["cards"].refuse("holds more than 65535 cards");
    out.clear();
    for (const JsonAt& card : cards)
        out.insert(static_cast<std::uint32_t>(card.whole_number(0xFFFFFFFFu)));
}

} // namespace

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

nlohmann::json state_to_json(const ControllerState& state)
{
    nlohmann::json codes = nlohmann::json::object();
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

ControllerState controller_state_from(const JsonAt& in)
{
    in.only_keys({"controller_id", "volume", "screen_interval", "warm_up", "cool_down",
                  "swipe_card_mode", "baud", "parity", "codes", "cards", "fingerprints",
                  "authorisation_paused"});
    ControllerState s;
    read_number(in, "controller_id", 0xFFFF, s.controller_id);
    read_number(in, "volume", 0xFF, s.volume);
    read_number(in, "screen_interval", 0xFF, s.screen_interval);
    read_number(in, "warm_up", 0xFF, s.warm_up);
    read_number(in, "cool_down", 0xFF, s.cool_down);
    read_flag(in, "swipe_card_mode", s.swipe_card_mode);
    read_number(in, "baud", 0xFFFFFF, s.projector.baud);
    read_number(in, "parity", 0xFF, s.projector.parity);
    read_codes(in, s.projector);
    read_cards(in, s.cards);
    read_number(in, "fingerprints", 0xFFFF, s.fingerprints);
    read_flag(in, "authorisation_paused", s.authorisation_paused);
    return s;
}

std::variant<ControllerState, std::string> state_from_json(const nlohmann::json& in,
                                                           std::string_view path)
{
    try {
        return controller_state_from(JsonAt(in, std::string(path)));
    } catch (const JsonError& error) {
        return std::string("state: ") + error.what();
    }
}

} // namespace zk::sim
