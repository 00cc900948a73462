#include "protocol/replies.h"

#include "protocol/code_blocks.h"
#include "protocol/codes.h"

namespace zk::protocol {

namespace {

constexpr std::size_t code_blocks_offset = 15;

// A datagram that has passed the frame check: byte 8 (the operation) is always present, every
// later byte only when `has` says so.
struct Frame
{
    ByteView b;
    std::uint8_t op() const { return b[operation_offset]; }
    // True when the datagram is at least `length` bytes long, so b[length - 1] is present.
    bool has(std::size_t length) const { return b.size() >= length; }
};

std::optional<Reply> decode_volume(Frame f)
{
    if (!f.has(10) || f.b[9] != volume_channel) return std::nullopt;
    if (f.op() == op_read) {
        if (!f.has(11)) return std::nullopt;
        return VolumeData{f.b[10]};
    }
    if (f.op() == op_ack) return VolumeAck{};
    return std::nullopt;
}

std::optional<Reply> decode_timings(Frame f)
{
    if (f.op() == op_read && f.has(13)) return TimingsData{f.b[10], f.b[11], f.b[12]};
    if (f.op() == op_ack) return TimingsAck{};
    return std::nullopt;
}

std::optional<Reply> decode_controller_id(Frame f)
{
    if (f.op() == op_read && f.has(11))
        return ControllerIdData{static_cast<std::uint16_t>(read_be16(f.b, 9))};
    if (f.op() == op_ack) return ControllerIdAck{};
    return std::nullopt;
}

std::optional<Reply> decode_authorisation(Frame f)
{
    if (f.op() != op_ack || !f.has(10)) return std::nullopt;
    if (f.b[9] != authorisation_paused && f.b[9] != authorisation_resumed) return std::nullopt;
    return AuthorisationAck{f.b[9] == authorisation_paused};
}

std::optional<Reply> decode_registry_data(Frame f)
{
    switch (f.b[9]) {
    case registry_read::card:
        if (f.has(15)) return CardRead{read_be32(f.b, 11)};
        break;
    case registry_read::count:
        if (f.has(12)) return CardCount{static_cast<std::uint16_t>(read_be16(f.b, 10))};
        break;
    case registry_read::lookup:
        if (f.has(11)) return CardLookup{f.b[10] == 0x01};
        break;
    }
    return std::nullopt;
}

std::optional<Reply> decode_registry_ack(Frame f)
{
    switch (f.b[9]) {
    case registry_write::card:
        if (f.has(11) && f.b[10] <= 0x02)
            return CardRegistrationAck{static_cast<RegistrationResult>(f.b[10])};
        break;
    case registry_write::enrol_fingerprint:
        if (f.has(12) && f.b[10] >= 1 && f.b[10] <= 4 && f.b[11] <= 0x01)
            return FingerprintEnrolmentAck{f.b[10], f.b[11] == 0x01};
        break;
    case registry_write::delete_fingerprint:
        if (f.has(11) && f.b[10] <= 0x01) return FingerprintDeletionAck{f.b[10] == 0x01};
        break;
    case registry_write::delete_card:
        if (f.has(11)) return CardDeletionAck{f.b[10] == 0x01};
        break;
    }
    return std::nullopt;
}

std::optional<Reply> decode_registry(Frame f)
{
    if (!f.has(10)) return std::nullopt;
    if (f.op() == op_read) return decode_registry_data(f);
    if (f.op() == op_ack) return decode_registry_ack(f);
    return std::nullopt;
}

std::optional<Reply> decode_swipe_mode(Frame f)
{
    if (f.op() == op_ack) return SwipeModeAck{};
    if (f.op() != op_read || !f.has(10)) return std::nullopt;
    if (f.b[9] == swipe_card_mode) return SwipeModeData{true};
    if (f.b[9] == public_mode) return SwipeModeData{false};
    return std::nullopt;
}

std::optional<Reply> decode_fingerprint_count(Frame f)
{
    if (f.op() != op_read || !f.has(11)) return std::nullopt;
    return FingerprintCount{static_cast<std::uint16_t>(read_be16(f.b, 9))};
}

std::optional<Reply> decode_projector_codes(Frame f)
{
    if (f.op() == op_ack) return ProjectorCodesAck{};
    if (f.op() != op_read) return std::nullopt;
    ProjectorCodesData data{std::nullopt, std::nullopt,
                            read_code_blocks(f.b, code_blocks_offset).codes};
    if (f.has(12)) data.baud = read_be24(f.b, 9);
    if (f.has(13)) data.parity = f.b[12];
    return data;
}

} // namespace

std::optional<Reply> decode_reply(ByteView datagram)
{
    if (!looks_like_frame(datagram)) return std::nullopt;
    const Frame f{datagram};
    switch (static_cast<Command>(datagram[command_offset])) {
    case Command::volume:
        return decode_volume(f);
    case Command::timings:
        return decode_timings(f);
    case Command::controller_id:
        return decode_controller_id(f);
    case Command::authorisation:
        return decode_authorisation(f);
    case Command::registry:
        return decode_registry(f);
    case Command::swipe_mode:
        return decode_swipe_mode(f);
    case Command::fingerprint_count:
        return decode_fingerprint_count(f);
    case Command::projector_codes:
        return decode_projector_codes(f);
    }
    return std::nullopt;
}

namespace {

Bytes payload_of(const ProjectorCodesData& data)
{
    Bytes out{byte_of(Command::projector_codes), op_read};
    if (!data.baud) return out;
    if (!data.parity) {
        append_be(out, *data.baud & 0xFFFFFF, 3);
        return out;
    }
    append_serial_settings(out, *data.baud, *data.parity);
    const std::span<const Bytes> codes(data.codes);
    append_code_blocks(out, codes.first(codes_that_fit(codes, out.size())));
    return out;
}

std::uint8_t hi(std::uint16_t v)
{
    return static_cast<std::uint8_t>(v >> 8);
}

std::uint8_t lo(std::uint16_t v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

// One overload per reply kind, so the variant visit below cannot miss one.
struct ReplyPayload
{
    Bytes operator()(const VolumeData& r) const
    {
        return {byte_of(Command::volume), op_read, volume_channel, r.volume};
    }
    Bytes operator()(const VolumeAck&) const
    {
        return {byte_of(Command::volume), op_ack, volume_channel};
    }
    Bytes operator()(const TimingsData& r) const
    {
        return {byte_of(Command::timings), op_read, timings_tag, r.screen, r.warm_up, r.cool_down};
    }
    Bytes operator()(const TimingsAck&) const { return {byte_of(Command::timings), op_ack}; }
    Bytes operator()(const ControllerIdData& r) const
    {
        return {byte_of(Command::controller_id), op_read, hi(r.id), lo(r.id)};
    }
    Bytes operator()(const ControllerIdAck&) const
    {
        return {byte_of(Command::controller_id), op_ack};
    }
    Bytes operator()(const AuthorisationAck& r) const
    {
        return {byte_of(Command::authorisation), op_ack,
                r.paused ? authorisation_paused : authorisation_resumed};
    }
    Bytes operator()(const CardRead& r) const
    {
        Bytes out{registry_command, op_read, registry_read::card, 0x00};
        append_be(out, r.card, 4);
        return out;
    }
    Bytes operator()(const CardCount& r) const
    {
        return {registry_command, op_read, registry_read::count, hi(r.count), lo(r.count)};
    }
    Bytes operator()(const CardLookup& r) const
    {
        return {registry_command, op_read, registry_read::lookup,
                static_cast<std::uint8_t>(r.found)};
    }
    Bytes operator()(const CardRegistrationAck& r) const
    {
        return {registry_command, op_ack, registry_write::card,
                static_cast<std::uint8_t>(r.result)};
    }
    Bytes operator()(const FingerprintEnrolmentAck& r) const
    {
        return {registry_command, op_ack, registry_write::enrol_fingerprint, r.step,
                static_cast<std::uint8_t>(r.succeeded)};
    }
    Bytes operator()(const FingerprintDeletionAck& r) const
    {
        return {registry_command, op_ack, registry_write::delete_fingerprint,
                static_cast<std::uint8_t>(r.deleted)};
    }
    Bytes operator()(const CardDeletionAck& r) const
    {
        return {registry_command, op_ack, registry_write::delete_card,
                static_cast<std::uint8_t>(r.deleted)};
    }
    Bytes operator()(const SwipeModeData& r) const
    {
        return {byte_of(Command::swipe_mode), op_read,
                r.swipe_card ? swipe_card_mode : public_mode};
    }
    Bytes operator()(const SwipeModeAck&) const { return {byte_of(Command::swipe_mode), op_ack}; }
    Bytes operator()(const FingerprintCount& r) const
    {
        return {byte_of(Command::fingerprint_count), op_read, hi(r.count), lo(r.count)};
    }
    Bytes operator()(const ProjectorCodesData& r) const { return payload_of(r); }
    Bytes operator()(const ProjectorCodesAck&) const
    {
        return {byte_of(Command::projector_codes), op_ack};
    }
};

} // namespace

Bytes reply_payload(const Reply& reply)
{
    return std::visit(ReplyPayload{}, reply);
}

Bytes encode_reply(const Reply& reply)
{
    // Every payload above stays within max_payload, so the frame always exists.
    return wrap_frame(reply_payload(reply)).value_or(Bytes{});
}

} // namespace zk::protocol
