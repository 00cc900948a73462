#pragma once
// The controller's HS3 answers as typed values: decode_reply reads a datagram, encode_reply
// writes one (the simulated controller answers with it). Neither knows any control or text.
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "base/bytes.h"

namespace zk::protocol {

struct VolumeData
{
    std::uint8_t volume = 0;
    bool operator==(const VolumeData&) const = default;
};
struct VolumeAck
{
    bool operator==(const VolumeAck&) const = default;
};
struct TimingsData
{
    std::uint8_t screen = 0; // screen up/down interval, seconds
    std::uint8_t warm_up = 0;
    std::uint8_t cool_down = 0;
    bool operator==(const TimingsData&) const = default;
};
struct TimingsAck
{
    bool operator==(const TimingsAck&) const = default;
};
struct ControllerIdData
{
    std::uint16_t id = 0;
    bool operator==(const ControllerIdData&) const = default;
};
struct ControllerIdAck
{
    bool operator==(const ControllerIdAck&) const = default;
};
struct AuthorisationAck
{
    bool paused = false; // false: the check was resumed
    bool operator==(const AuthorisationAck&) const = default;
};
struct CardRead
{
    std::uint32_t card = 0;
    bool operator==(const CardRead&) const = default;
};
struct CardCount
{
    std::uint16_t count = 0;
    bool operator==(const CardCount&) const = default;
};
struct CardLookup
{
    bool found = false;
    bool operator==(const CardLookup&) const = default;
};
enum class RegistrationResult : std::uint8_t
{
    failed = 0x00,
    registered = 0x01,
    already_present = 0x02,
};
struct CardRegistrationAck
{
    RegistrationResult result = RegistrationResult::failed;
    bool operator==(const CardRegistrationAck&) const = default;
};
struct FingerprintEnrolmentAck
{
    std::uint8_t step = 1; // 1 to 4
    bool succeeded = false;
    bool operator==(const FingerprintEnrolmentAck&) const = default;
};
struct FingerprintDeletionAck
{
    bool deleted = false;
    bool operator==(const FingerprintDeletionAck&) const = default;
};
struct CardDeletionAck
{
    bool deleted = false; // false: the card was not registered
    bool operator==(const CardDeletionAck&) const = default;
};
struct SwipeModeData
{
    bool swipe_card = false; // false: public mode
    bool operator==(const SwipeModeData&) const = default;
};
struct SwipeModeAck
{
    bool operator==(const SwipeModeAck&) const = default;
};
struct FingerprintCount
{
    std::uint16_t count = 0;
    bool operator==(const FingerprintCount&) const = default;
};
// Serial settings and up to four code blocks (power-on, power-off, video, computer), as many as
// the reply carries whole. The rate and the parity are absent when the reply ends before them;
// the reply still says that the codes were read.
struct ProjectorCodesData
{
    std::optional<std::uint32_t> baud; // 24 bits on the wire
    std::optional<std::uint8_t> parity;
    std::vector<Bytes> codes; // at most four
    bool operator==(const ProjectorCodesData&) const = default;
};
struct ProjectorCodesAck
{
    bool operator==(const ProjectorCodesAck&) const = default;
};

using Reply = std::variant<VolumeData,
                           VolumeAck,
                           TimingsData,
                           TimingsAck,
                           ControllerIdData,
                           ControllerIdAck,
                           AuthorisationAck,
                           CardRead,
                           CardCount,
                           CardLookup,
                           CardRegistrationAck,
                           FingerprintEnrolmentAck,
                           FingerprintDeletionAck,
                           CardDeletionAck,
                           SwipeModeData,
                           SwipeModeAck,
                           FingerprintCount,
                           ProjectorCodesData,
                           ProjectorCodesAck>;

// The answer a datagram carries; nullopt for anything that is not a known answer or that ends
// before the bytes its kind needs. Marker, length, reserved bytes and checksum are not examined.
std::optional<Reply> decode_reply(ByteView datagram);

// The payload (command, operation, data) of a reply; encode_reply frames it.
Bytes reply_payload(const Reply& reply);

// A complete reply frame with a correct length byte and checksum. A projector-codes reply whose
// codes would not fit a frame keeps only the codes that fit.
Bytes encode_reply(const Reply& reply);

} // namespace zk::protocol
