#pragma once
// A controller's command handler as a pure function of its state: one HS3 request in, the
// replies it sends out (each after a delay), no sockets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "sim/controller_state.h"
#include "sim/outgoing.h"

namespace zk::sim {

struct ModelOptions
{
    std::optional<std::uint32_t> card_at_reader; // none: a card read gets no answer
    int fail_step = 0;                           // enrolment step 1..4 that fails; 0: none
    int step_delay_ms = 400;                     // between enrolment steps
};

struct Answer
{
    bool understood = false; // false: malformed or unknown, nothing answered
    bool state_changed = false;
    std::string meaning; // the request, for the log
    std::vector<Outgoing> replies;
};

class ControllerModel
{
public:
    ControllerModel(ControllerState state, ModelOptions options);

    // Answers one datagram as the controller would; never throws on any input.
    Answer handle(ByteView request);

    const ControllerState& state() const { return state_; }

private:
    Answer volume(ByteView payload);
    Answer timings(ByteView payload);
    Answer controller_id(ByteView payload);
    Answer authorisation(ByteView payload);
    Answer registry_read(ByteView payload);
    Answer registry_write(ByteView payload);
    Answer swipe_mode(ByteView payload);
    Answer fingerprint_count(ByteView payload);
    Answer projector_codes(ByteView payload);
    Answer enrol_fingerprint();
    Answer write_card(std::uint8_t sub_code, std::uint32_t card);

    ControllerState state_;
    ModelOptions options_;
};

// The payload of a well-formed request frame (signature, marker, length byte and checksum all
// correct, at least command and operation); nullopt otherwise.
std::optional<Bytes> request_payload(ByteView frame);

} // namespace zk::sim
