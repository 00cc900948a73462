#include "sim/controller_model.h"

#include "protocol/hs3_frame.h"
#include "protocol/replies.h"

namespace zk::sim {

namespace {

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

// The request's name with the value it carries, for the log ("volume write 5").
std::string named(const pr::Request& request, std::uint32_t value)
{
    return std::string(pr::request_name(request)) + " " + std::to_string(value);
}

} // namespace

ControllerModel::ControllerModel(ControllerState state, ModelOptions options)
    : state_(std::move(state)), options_(options)
{}

Answer ControllerModel::handle(ByteView request)
{
    const std::optional<Bytes> payload = pr::unwrap_frame(request);
    if (!payload) return not_understood("not a well-formed HS3 frame");
    const std::optional<pr::Request> decoded = pr::decode_request(*payload);
    if (!decoded) return not_understood("unknown or malformed request");
    return std::visit([this](const auto& kind) { return on(kind); }, *decoded);
}

Answer ControllerModel::on(const pr::ReadVolume& r)
{
    return answered(pr::request_name(r), {reply(pr::VolumeData{state_.volume},
                                                "volume " + std::to_string(state_.volume))});
}

Answer ControllerModel::on(const pr::WriteVolume& r)
{
    state_.volume = r.volume;
    return answered(named(r, r.volume), {reply(pr::VolumeAck{}, "volume written")}, true);
}

Answer ControllerModel::on(const pr::ReadTimings& r)
{
    return answered(
        pr::request_name(r),
        {reply(pr::TimingsData{state_.screen_interval, state_.warm_up, state_.cool_down},
               "screen " + std::to_string(state_.screen_interval) + " s, warm-up " +
                   std::to_string(state_.warm_up) + " s, cool-down " +
                   std::to_string(state_.cool_down) + " s")});
}

Answer ControllerModel::on(const pr::WriteTimings& r)
{
    state_.screen_interval = r.screen;
    state_.warm_up = r.warm_up;
    state_.cool_down = r.cool_down;
    return answered(pr::request_name(r), {reply(pr::TimingsAck{}, "timings written")}, true);
}

Answer ControllerModel::on(const pr::ReadControllerId& r)
{
    return answered(pr::request_name(r),
                    {reply(pr::ControllerIdData{state_.controller_id},
                           "controller ID " + std::to_string(state_.controller_id))});
}

Answer ControllerModel::on(const pr::WriteControllerId& r)
{
    state_.controller_id = r.id;
    return answered(named(r, r.id), {reply(pr::ControllerIdAck{}, "controller ID written")}, true);
}

Answer ControllerModel::on(const pr::SetAuthorisation& r)
{
    state_.authorisation_paused = r.paused;
    const char* what = r.paused ? "paused" : "resumed";
    return answered(pr::request_name(r),
                    {reply(pr::AuthorisationAck{r.paused}, std::string("authorisation ") + what)},
                    true);
}

Answer ControllerModel::on(const pr::AwaitCard& r)
{
    if (!options_.card_at_reader)
        return answered(std::string(pr::request_name(r)) + " (no card at the reader)", {});
    const std::uint32_t card = *options_.card_at_reader;
    return answered(pr::request_name(r),
                    {reply(pr::CardRead{card}, "card " + std::to_string(card))});
}

Answer ControllerModel::on(const pr::ReadCardCount& r)
{
    // The registry never holds more than max_cards, so the count fits its 16 bits.
    const auto count = static_cast<std::uint16_t>(state_.cards.size());
    return answered(pr::request_name(r),
                    {reply(pr::CardCount{count}, std::to_string(count) + " cards")});
}

Answer ControllerModel::on(const pr::LookUpCard& r)
{
    const bool found = state_.cards.count(r.card) != 0;
    return answered(named(r, r.card),
                    {reply(pr::CardLookup{found}, found ? "card found" : "card not registered")});
}

Answer ControllerModel::on(const pr::RegisterCard& r)
{
    using pr::RegistrationResult;
    RegistrationResult result = RegistrationResult::already_present;
    const char* meaning = "card already registered";
    if (!state_.cards.count(r.card)) {
        const bool room = state_.cards.size() < max_cards;
        if (room) state_.cards.insert(r.card);
        result = room ? RegistrationResult::registered : RegistrationResult::failed;
        meaning = room ? "card registered" : "card registry full";
    }
    return answered(named(r, r.card), {reply(pr::CardRegistrationAck{result}, meaning)},
                    result == RegistrationResult::registered);
}

Answer ControllerModel::on(const pr::DeleteCard& r)
{
    const bool deleted = state_.cards.erase(r.card) != 0;
    return answered(
        named(r, r.card),
        {reply(pr::CardDeletionAck{deleted}, deleted ? "card deleted" : "card not registered")},
        deleted);
}

Answer ControllerModel::on(const pr::EnrolFingerprint& r)
{
    std::vector<Outgoing> steps;
    for (std::uint8_t step = 1; step <= 4; ++step) {
        const bool fails = options_.fail_step == step;
        steps.push_back(
            reply(pr::FingerprintEnrolmentAck{step, !fails},
                  "enrolment step " + std::to_string(step) + (fails ? " failed" : " succeeded"),
                  options_.step_delay_ms * step));
        if (fails) return answered(pr::request_name(r), std::move(steps));
    }
    const bool room = state_.fingerprints < 0xFFFF;
    if (room) ++state_.fingerprints;
    return answered(pr::request_name(r), std::move(steps), room);
}

Answer ControllerModel::on(const pr::DeleteFingerprint& r)
{
    const bool deleted = state_.fingerprints > 0;
    if (deleted) --state_.fingerprints;
    return answered(pr::request_name(r),
                    {reply(pr::FingerprintDeletionAck{deleted},
                           deleted ? "fingerprint deleted" : "no fingerprint to delete")},
                    deleted);
}

Answer ControllerModel::on(const pr::ReadSwipeMode& r)
{
    return answered(pr::request_name(r),
                    {reply(pr::SwipeModeData{state_.swipe_card_mode},
                           state_.swipe_card_mode ? "swipe-card mode" : "public mode")});
}

Answer ControllerModel::on(const pr::WriteSwipeMode& r)
{
    state_.swipe_card_mode = r.swipe_card;
    return answered(r.swipe_card ? "set swipe-card mode" : "set public mode",
                    {reply(pr::SwipeModeAck{}, "swipe-card mode written")}, true);
}

Answer ControllerModel::on(const pr::ReadFingerprintCount& r)
{
    return answered(pr::request_name(r),
                    {reply(pr::FingerprintCount{state_.fingerprints},
                           std::to_string(state_.fingerprints) + " fingerprints")});
}

Answer ControllerModel::on(const pr::ReadProjectorCodes& r)
{
    const pr::ProjectorCodes& kept = state_.projector;
    const pr::ProjectorCodesData data{
        kept.baud, kept.parity, {kept.codes.begin(), kept.codes.end()}};
    return answered(pr::request_name(r),
                    {reply(data, "baud " + std::to_string(kept.baud) + ", parity " +
                                     std::to_string(kept.parity))});
}

Answer ControllerModel::on(const pr::WriteProjectorCodes& r)
{
    state_.projector = r.settings;
    return answered(pr::request_name(r),
                    {reply(pr::ProjectorCodesAck{}, "projector codes written")}, true);
}

} // namespace zk::sim
