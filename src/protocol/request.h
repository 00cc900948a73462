#pragma once
// The requests the tool sends as typed values, mirroring the replies: the windows, zkctl and
// restore build a Request, the simulated controller decodes one, and the same code turns it into
// bytes both ways.
#include <optional>
#include <variant>

#include "base/bytes.h"
#include "protocol/code_blocks.h"

namespace zk::protocol {

struct ReadVolume
{
    bool operator==(const ReadVolume&) const = default;
};
struct WriteVolume
{
    std::uint8_t volume = 0;
    bool operator==(const WriteVolume&) const = default;
};
struct ReadTimings
{
    bool operator==(const ReadTimings&) const = default;
};
struct WriteTimings
{
    std::uint8_t screen = 0;
    std::uint8_t warm_up = 0;
    std::uint8_t cool_down = 0;
    bool operator==(const WriteTimings&) const = default;
};
struct ReadControllerId
{
    bool operator==(const ReadControllerId&) const = default;
};
struct WriteControllerId
{
    std::uint16_t id = 0;
    bool operator==(const WriteControllerId&) const = default;
};
struct SetAuthorisation
{
    bool paused = false; // false: resume the check
    bool operator==(const SetAuthorisation&) const = default;
};
struct AwaitCard // the controller answers when a card is swiped at its reader
{
    bool operator==(const AwaitCard&) const = default;
};
struct ReadCardCount
{
    bool operator==(const ReadCardCount&) const = default;
};
struct LookUpCard
{
    std::uint32_t card = 0;
    bool operator==(const LookUpCard&) const = default;
};
struct RegisterCard
{
    std::uint32_t card = 0;
    bool operator==(const RegisterCard&) const = default;
};
struct DeleteCard
{
    std::uint32_t card = 0;
    bool operator==(const DeleteCard&) const = default;
};
struct EnrolFingerprint // answered in four steps, each waiting for a finger
{
    bool operator==(const EnrolFingerprint&) const = default;
};
struct DeleteFingerprint
{
    bool operator==(const DeleteFingerprint&) const = default;
};
struct ReadSwipeMode
{
    bool operator==(const ReadSwipeMode&) const = default;
};
struct WriteSwipeMode
{
    bool swipe_card = false; // false: public mode
    bool operator==(const WriteSwipeMode&) const = default;
};
struct ReadFingerprintCount
{
    bool operator==(const ReadFingerprintCount&) const = default;
};
struct ReadProjectorCodes
{
    bool operator==(const ReadProjectorCodes&) const = default;
};
struct WriteProjectorCodes
{
    ProjectorCodes settings;
    bool operator==(const WriteProjectorCodes&) const = default;
};

using Request = std::variant<ReadVolume,
                             WriteVolume,
                             ReadTimings,
                             WriteTimings,
                             ReadControllerId,
                             WriteControllerId,
                             SetAuthorisation,
                             AwaitCard,
                             ReadCardCount,
                             LookUpCard,
                             RegisterCard,
                             DeleteCard,
                             EnrolFingerprint,
                             DeleteFingerprint,
                             ReadSwipeMode,
                             WriteSwipeMode,
                             ReadFingerprintCount,
                             ReadProjectorCodes,
                             WriteProjectorCodes>;

// The payload (command, operation, data) of a request; wrap_frame frames it.
Bytes encode_request(const Request& request);

// The request a payload carries, or nullopt when it is no request of the controller's or has
// more or fewer bytes than its kind. A projector-codes write must fill its payload exactly with
// four code blocks; its data-bit and stop-bit bytes are not examined.
std::optional<Request> decode_request(ByteView payload);

// A short name of the request's kind for logs and messages ("volume write").
const char* request_name(const Request& request);

} // namespace zk::protocol
