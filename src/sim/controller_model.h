#pragma once
// A controller's command handler as a pure function of its state: one HS3 request in, the
// replies it sends out (each after a delay), no sockets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "protocol/request.h"
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
    // One handler per request kind; the visit in handle() fails to compile when one is missing.
    Answer on(const protocol::ReadVolume&);
    Answer on(const protocol::WriteVolume&);
    Answer on(const protocol::ReadTimings&);
    Answer on(const protocol::WriteTimings&);
    Answer on(const protocol::ReadControllerId&);
    Answer on(const protocol::WriteControllerId&);
    Answer on(const protocol::SetAuthorisation&);
    Answer on(const protocol::AwaitCard&);
    Answer on(const protocol::ReadCardCount&);
    Answer on(const protocol::LookUpCard&);
    Answer on(const protocol::RegisterCard&);
    Answer on(const protocol::DeleteCard&);
    Answer on(const protocol::EnrolFingerprint&);
    Answer on(const protocol::DeleteFingerprint&);
    Answer on(const protocol::ReadSwipeMode&);
    Answer on(const protocol::WriteSwipeMode&);
    Answer on(const protocol::ReadFingerprintCount&);
    Answer on(const protocol::ReadProjectorCodes&);
    Answer on(const protocol::WriteProjectorCodes&);

    ControllerState state_;
    ModelOptions options_;
};

} // namespace zk::sim
