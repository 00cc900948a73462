#include "protocol/request.h"

#include <algorithm>
#include <array>

#include "protocol/code_blocks.h"
#include "protocol/codes.h"

namespace zk::protocol {

namespace {

// Fixed part of a projector-codes write: command, operation, rate (3), parity, data, stop bits.
constexpr std::size_t code_blocks_start = 8;

Bytes with_card(Bytes head, std::uint32_t card)
{
    append_be(head, card, 4);
    return head;
}

// One overload per request kind, so the visit cannot miss one.
struct RequestPayload
{
    Bytes operator()(const ReadVolume&) const
    {
        return {byte_of(Command::volume), op_read, volume_channel};
    }
    Bytes operator()(const WriteVolume& r) const
    {
        return {byte_of(Command::volume), op_write, volume_channel, r.volume};
    }
    Bytes operator()(const ReadTimings&) const { return {byte_of(Command::timings), op_read}; }
    Bytes operator()(const WriteTimings& r) const
    {
        return {byte_of(Command::timings), op_write, timings_tag, r.screen, r.warm_up, r.cool_down};
    }
    Bytes operator()(const ReadControllerId&) const
    {
        return {byte_of(Command::controller_id), op_read};
    }
    Bytes operator()(const WriteControllerId& r) const
    {
        Bytes payload{byte_of(Command::controller_id), op_write};
        append_be(payload, r.id, 2);
        return payload;
    }
    Bytes operator()(const SetAuthorisation& r) const
    {
        return {byte_of(Command::authorisation), op_write,
                r.paused ? authorisation_paused : authorisation_resumed};
    }
    Bytes operator()(const AwaitCard&) const
    {
        return {registry_command, op_read, registry_read::card};
    }
    Bytes operator()(const ReadCardCount&) const
    {
        return {registry_command, op_read, registry_read::count};
    }
    Bytes operator()(const LookUpCard& r) const
    {
        return with_card({registry_command, op_read, registry_read::lookup}, r.card);
    }
    Bytes operator()(const RegisterCard& r) const
    {
        return with_card({registry_command, op_write, registry_write::card}, r.card);
    }
    Bytes operator()(const DeleteCard& r) const
    {
        return with_card({registry_command, op_write, registry_write::delete_card}, r.card);
    }
    Bytes operator()(const EnrolFingerprint&) const
    {
        return {registry_command, op_write, registry_write::enrol_fingerprint, 0x01};
    }
    Bytes operator()(const DeleteFingerprint&) const
    {
        return {registry_command, op_write, registry_write::delete_fingerprint};
    }
    Bytes operator()(const ReadSwipeMode&) const { return {byte_of(Command::swipe_mode), op_read}; }
    Bytes operator()(const WriteSwipeMode& r) const
    {
        return {byte_of(Command::swipe_mode), op_write,
                r.swipe_card ? swipe_card_mode : public_mode};
    }
    Bytes operator()(const ReadFingerprintCount&) const
    {
        return {byte_of(Command::fingerprint_count), op_read};
    }
    Bytes operator()(const ReadProjectorCodes&) const
    {
        return {byte_of(Command::projector_codes), op_read};
    }
    Bytes operator()(const WriteProjectorCodes& r) const
    {
        std::size_t size = code_blocks_start;
        for (const Bytes& code : r.settings.codes)
            size += 3 + code.size();
        Bytes payload;
        payload.reserve(size); // one allocation, not one for every block
        payload.push_back(byte_of(Command::projector_codes));
        payload.push_back(op_write);
        append_serial_settings(payload, r.settings.baud, r.settings.parity);
        append_code_blocks(payload, r.settings.codes);
        return payload;
    }
};

struct NameOf
{
    const char* operator()(const ReadVolume&) const { return "volume read"; }
    const char* operator()(const WriteVolume&) const { return "volume write"; }
    const char* operator()(const ReadTimings&) const { return "timings read"; }
    const char* operator()(const WriteTimings&) const { return "timings write"; }
    const char* operator()(const ReadControllerId&) const { return "controller ID read"; }
    const char* operator()(const WriteControllerId&) const { return "controller ID write"; }
    const char* operator()(const SetAuthorisation& r) const
    {
        return r.paused ? "authorisation pause" : "authorisation resume";
    }
    const char* operator()(const AwaitCard&) const { return "card read"; }
    const char* operator()(const ReadCardCount&) const { return "card count read"; }
    const char* operator()(const LookUpCard&) const { return "card look-up"; }
    const char* operator()(const RegisterCard&) const { return "card register"; }
    const char* operator()(const DeleteCard&) const { return "card delete"; }
    const char* operator()(const EnrolFingerprint&) const { return "fingerprint enrolment"; }
    const char* operator()(const DeleteFingerprint&) const { return "fingerprint delete"; }
    const char* operator()(const ReadSwipeMode&) const { return "swipe-card mode read"; }
    const char* operator()(const WriteSwipeMode&) const { return "swipe-card mode write"; }
    const char* operator()(const ReadFingerprintCount&) const { return "fingerprint count read"; }
    const char* operator()(const ReadProjectorCodes&) const { return "projector codes read"; }
    const char* operator()(const WriteProjectorCodes&) const { return "projector codes write"; }
};

// A payload of exactly `size` bytes that starts with `head`.
bool is(ByteView p, std::initializer_list<std::uint8_t> head, std::size_t size)
{
    return p.size() == size && std::equal(head.begin(), head.end(), p.begin());
}

std::optional<Request> decode_registry(ByteView p)
{
    const std::uint8_t c = registry_command;
    if (is(p, {c, op_read, registry_read::card}, 3)) return AwaitCard{};
    if (is(p, {c, op_read, registry_read::count}, 3)) return ReadCardCount{};
    if (is(p, {c, op_read, registry_read::lookup}, 7)) return LookUpCard{read_be32(p, 3)};
    if (is(p, {c, op_write, registry_write::card}, 7)) return RegisterCard{read_be32(p, 3)};
    if (is(p, {c, op_write, registry_write::delete_card}, 7)) return DeleteCard{read_be32(p, 3)};
    if (is(p, {c, op_write, registry_write::enrol_fingerprint, 0x01}, 4)) return EnrolFingerprint{};
    if (is(p, {c, op_write, registry_write::delete_fingerprint}, 3)) return DeleteFingerprint{};
    return std::nullopt;
}

std::optional<Request> decode_projector_codes(ByteView p)
{
    if (is(p, {byte_of(Command::projector_codes), op_read}, 2)) return ReadProjectorCodes{};
    if (p.size() < code_blocks_start || p[1] != op_write) return std::nullopt;
    CodeBlocks blocks = read_code_blocks(p, code_blocks_start);
    if (blocks.codes.size() != code_count || blocks.end != p.size()) return std::nullopt;
    WriteProjectorCodes write{{read_be24(p, 2), p[5], {}}};
    std::move(blocks.codes.begin(), blocks.codes.end(), write.settings.codes.begin());
    return write;
}

std::optional<Request> decode_settings(ByteView p)
{
    using enum Command;
    switch (static_cast<Command>(p[0])) {
    case volume:
        if (is(p, {p[0], op_read, volume_channel}, 3)) return ReadVolume{};
        if (is(p, {p[0], op_write, volume_channel}, 4)) return WriteVolume{p[3]};
        break;
    case timings:
        if (is(p, {p[0], op_read}, 2)) return ReadTimings{};
        if (is(p, {p[0], op_write, timings_tag}, 6)) return WriteTimings{p[3], p[4], p[5]};
        break;
    case controller_id:
        if (is(p, {p[0], op_read}, 2)) return ReadControllerId{};
        if (is(p, {p[0], op_write}, 4))
            return WriteControllerId{static_cast<std::uint16_t>(read_be16(p, 2))};
        break;
    case authorisation:
        if (is(p, {p[0], op_write, authorisation_paused}, 3)) return SetAuthorisation{true};
        if (is(p, {p[0], op_write, authorisation_resumed}, 3)) return SetAuthorisation{false};
        break;
    case swipe_mode:
        if (is(p, {p[0], op_read}, 2)) return ReadSwipeMode{};
        if (is(p, {p[0], op_write, swipe_card_mode}, 3)) return WriteSwipeMode{true};
        if (is(p, {p[0], op_write, public_mode}, 3)) return WriteSwipeMode{false};
        break;
    case fingerprint_count:
        if (is(p, {p[0], op_read}, 2)) return ReadFingerprintCount{};
        break;
    default:
        break;
    }
    return std::nullopt;
}

} // namespace

Bytes encode_request(const Request& request)
{
    return std::visit(RequestPayload{}, request);
}

std::optional<Request> decode_request(ByteView payload)
{
    if (payload.size() < 2) return std::nullopt;
    switch (static_cast<Command>(payload[0])) {
    case Command::registry:
        return decode_registry(payload);
    case Command::projector_codes:
        return decode_projector_codes(payload);
    default:
        return decode_settings(payload);
    }
}

const char* request_name(const Request& request)
{
    return std::visit(NameOf{}, request);
}

} // namespace zk::protocol
