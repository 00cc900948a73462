#include "sim/controller_model.h"

#include <algorithm>

#include "protocol/codes.h"
#include "protocol/hs3_frame.h"
#include "protocol/replies.h"

namespace zk::sim {

namespace {

using protocol::Command;
using protocol::op_read;
using protocol::op_write;
namespace pr = protocol;

constexpr std::size_t max_cards = 0xFFFF; // the count travels in 16 bits

// The answers are the typed replies the tool decodes, framed by the one encoder.
Outgoing reply(const pr::Reply& answer, std::string meaning, int delay_ms = 0)
{
    return {pr::encode_reply(answer), delay_ms, std::move(meaning)};
}

Answer answered(std::string meaning, std::vector<Outgoing> replies, bool changed = false)
{
    return {true, changed, std::move(meaning), std::move(replies)};
}

Answer not_understood(std::string meaning)
{
    return {false, false, std::move(meaning), {}};
}

bool is(ByteView payload, std::initializer_list<std::uint8_t> head, std::size_t size)
{
    return payload.size() == size && std::equal(head.begin(), head.end(), payload.begin());
}

// The four code blocks of a projector-codes write, or nullopt when they do not fill the
// payload exactly.
std::optional<std::array<Bytes, 4>> code_blocks(ByteView payload)
{
    std::array<Bytes, 4> codes;
    std::size_t at = 8;
    for (Bytes& code_bytes : codes) {
        if (at + 3 > payload.size() || payload[at] != pr::code_block_mark ||
            payload[at + 1] != pr::code_block_mark)
            return std::nullopt;
        const std::size_t count = payload[at + 2];
        at += 3;
        if (at + count > payload.size()) return std::nullopt;
        code_bytes.assign(payload.begin() + static_cast<std::ptrdiff_t>(at),
                          payload.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    }
    if (at != payload.size()) return std::nullopt;
    return codes;
}

} // namespace

std::optional<Bytes> request_payload(ByteView frame)
{
    if (frame.size() < protocol::frame_overhead + 2 || !protocol::looks_like_frame(frame))
        return std::nullopt;
    if (frame[3] != 0xFF || frame[4] != static_cast<std::uint8_t>(frame.size() - 5) ||
        frame.size() - 5 > 0xFF || frame.back() != protocol::frame_checksum(frame))
        return std::nullopt;
    return Bytes(frame.begin() + protocol::command_offset, frame.end() - 1);
}

ControllerModel::ControllerModel(ControllerState state, ModelOptions options)
    : state_(std::move(state)), options_(options)
{}

Answer ControllerModel::handle(ByteView request)
{
    const std::optional<Bytes> payload = request_payload(request);
    if (!payload) return not_understood("not a well-formed HS3 frame");
    switch (static_cast<Command>((*payload)[0])) {
    case Command::volume:
        return volume(*payload);
    case Command::timings:
        return timings(*payload);
    case Command::controller_id:
        return controller_id(*payload);
    case Command::authorisation:
        return authorisation(*payload);
    case Command::registry:
        return (*payload)[1] == op_write ? registry_write(*payload) : registry_read(*payload);
    case Command::swipe_mode:
        return swipe_mode(*payload);
    case Command::fingerprint_count:
        return fingerprint_count(*payload);
    case Command::projector_codes:
        return projector_codes(*payload);
    }
    return not_understood("unknown command");
}

Answer ControllerModel::volume(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::volume);
    if (is(p, {c, op_read, pr::volume_channel}, 3))
        return answered("volume read", {reply(pr::VolumeData{state_.volume},
                                              "volume " + std::to_string(state_.volume))});
    if (!is(p, {c, op_write, pr::volume_channel}, 4))
        return not_understood("malformed volume request");
    state_.volume = p[3];
    return answered("volume write " + std::to_string(p[3]),
                    {reply(pr::VolumeAck{}, "volume written")}, true);
}

Answer ControllerModel::timings(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::timings);
    if (is(p, {c, op_read}, 2))
        return answered(
            "timings read",
            {reply(pr::TimingsData{state_.screen_interval, state_.warm_up, state_.cool_down},
                   "screen " + std::to_string(state_.screen_interval) + " s, warm-up " +
                       std::to_string(state_.warm_up) + " s, cool-down " +
                       std::to_string(state_.cool_down) + " s")});
    if (!is(p, {c, op_write, pr::timings_tag}, 6))
        return not_understood("malformed timings request");
    state_.screen_interval = p[3];
    state_.warm_up = p[4];
    state_.cool_down = p[5];
    return answered("timings write", {reply(pr::TimingsAck{}, "timings written")}, true);
}

Answer ControllerModel::controller_id(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::controller_id);
    if (is(p, {c, op_read}, 2))
        return answered("controller ID read",
                        {reply(pr::ControllerIdData{state_.controller_id},
                               "controller ID " + std::to_string(state_.controller_id))});
    if (!is(p, {c, op_write}, 4)) return not_understood("malformed controller ID request");
    state_.controller_id = static_cast<std::uint16_t>(read_be16(p, 2));
    return answered("controller ID write " + std::to_string(state_.controller_id),
                    {reply(pr::ControllerIdAck{}, "controller ID written")}, true);
}

Answer ControllerModel::authorisation(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::authorisation);
    if (!is(p, {c, op_write}, 3) ||
        (p[2] != pr::authorisation_paused && p[2] != pr::authorisation_resumed))
        return not_understood("malformed authorisation request");
    state_.authorisation_paused = p[2] == pr::authorisation_paused;
    const char* what = state_.authorisation_paused ? "paused" : "resumed";
    return answered(std::string("authorisation ") + (p[2] ? "pause" : "resume"),
                    {reply(pr::AuthorisationAck{state_.authorisation_paused},
                           std::string("authorisation ") + what)},
                    true);
}

Answer ControllerModel::registry_read(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::registry);
    if (is(p, {c, op_read, pr::registry_read::card}, 3)) {
        if (!options_.card_at_reader) return answered("card read (no card at the reader)", {});
        const std::uint32_t card = *options_.card_at_reader;
        return answered("card read", {reply(pr::CardRead{card}, "card " + std::to_string(card))});
    }
    if (is(p, {c, op_read, pr::registry_read::count}, 3)) {
        // The registry never holds more than max_cards, so the count fits its 16 bits.
        const auto count = static_cast<std::uint16_t>(state_.cards.size());
        return answered("card count read",
                        {reply(pr::CardCount{count}, std::to_string(count) + " cards")});
    }
    if (!is(p, {c, op_read, pr::registry_read::lookup}, 7))
        return not_understood("malformed registry read");
    const std::uint32_t card = read_be32(p, 3);
    const bool found = state_.cards.count(card) != 0;
    return answered("card look-up " + std::to_string(card),
                    {reply(pr::CardLookup{found}, found ? "card found" : "card not registered")});
}

Answer ControllerModel::registry_write(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::registry);
    if (is(p, {c, op_write, pr::registry_write::enrol_fingerprint, 0x01}, 4))
        return enrol_fingerprint();
    if (is(p, {c, op_write, pr::registry_write::delete_fingerprint}, 3)) {
        const bool deleted = state_.fingerprints > 0;
        if (deleted) --state_.fingerprints;
        return answered("fingerprint delete",
                        {reply(pr::FingerprintDeletionAck{deleted},
                               deleted ? "fingerprint deleted" : "no fingerprint to delete")},
                        deleted);
    }
    if (is(p, {c, op_write, pr::registry_write::card}, 7) ||
        is(p, {c, op_write, pr::registry_write::delete_card}, 7))
        return write_card(p[2], read_be32(p, 3));
    return not_understood("malformed registry write");
}

Answer ControllerModel::write_card(std::uint8_t sub_code, std::uint32_t card)
{
    const std::string number = std::to_string(card);
    if (sub_code == pr::registry_write::delete_card) {
        const bool deleted = state_.cards.erase(card) != 0;
        return answered(
            "card delete " + number,
            {reply(pr::CardDeletionAck{deleted}, deleted ? "card deleted" : "card not registered")},
            deleted);
    }
    using pr::RegistrationResult;
    RegistrationResult result = RegistrationResult::already_present;
    const char* meaning = "card already registered";
    if (!state_.cards.count(card)) {
        const bool room = state_.cards.size() < max_cards;
        if (room) state_.cards.insert(card);
        result = room ? RegistrationResult::registered : RegistrationResult::failed;
        meaning = room ? "card registered" : "card registry full";
    }
    return answered("card register " + number, {reply(pr::CardRegistrationAck{result}, meaning)},
                    result == RegistrationResult::registered);
}

Answer ControllerModel::enrol_fingerprint()
{
    std::vector<Outgoing> steps;
    for (std::uint8_t step = 1; step <= 4; ++step) {
        const bool fails = options_.fail_step == step;
        steps.push_back(
            reply(pr::FingerprintEnrolmentAck{step, !fails},
                  "enrolment step " + std::to_string(step) + (fails ? " failed" : " succeeded"),
                  options_.step_delay_ms * step));
        if (fails) return answered("fingerprint enrolment", std::move(steps));
    }
    const bool room = state_.fingerprints < 0xFFFF;
    if (room) ++state_.fingerprints;
    return answered("fingerprint enrolment", std::move(steps), room);
}

Answer ControllerModel::swipe_mode(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::swipe_mode);
    if (is(p, {c, op_read}, 2)) {
        return answered("swipe-card mode read",
                        {reply(pr::SwipeModeData{state_.swipe_card_mode},
                               state_.swipe_card_mode ? "swipe-card mode" : "public mode")});
    }
    if (!is(p, {c, op_write}, 3) || (p[2] != pr::swipe_card_mode && p[2] != pr::public_mode))
        return not_understood("malformed swipe-card mode request");
    state_.swipe_card_mode = p[2] == pr::swipe_card_mode;
    return answered(state_.swipe_card_mode ? "set swipe-card mode" : "set public mode",
                    {reply(pr::SwipeModeAck{}, "swipe-card mode written")}, true);
}

Answer ControllerModel::fingerprint_count(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::fingerprint_count);
    if (!is(p, {c, op_read}, 2)) return not_understood("malformed fingerprint count request");
    return answered("fingerprint count read",
                    {reply(pr::FingerprintCount{state_.fingerprints},
                           std::to_string(state_.fingerprints) + " fingerprints")});
}

Answer ControllerModel::projector_codes(ByteView p)
{
    const std::uint8_t c = pr::byte_of(Command::projector_codes);
    if (is(p, {c, op_read}, 2)) {
        const pr::ProjectorCodes& kept = state_.projector;
        const pr::ProjectorCodesData data{
            kept.baud, kept.parity, {kept.codes.begin(), kept.codes.end()}};
        return answered("projector codes read",
                        {reply(data, "baud " + std::to_string(kept.baud) + ", parity " +
                                         std::to_string(kept.parity))});
    }
    const std::optional<std::array<Bytes, 4>> codes =
        p.size() >= 8 && p[1] == op_write ? code_blocks(p) : std::nullopt;
    if (!codes) return not_understood("malformed projector codes request");
    state_.projector = {read_be24(p, 2), p[5], *codes};
    return answered("projector codes write",
                    {reply(pr::ProjectorCodesAck{}, "projector codes written")}, true);
}

} // namespace zk::sim
