#include "protocol/requests.h"

#include "protocol/codes.h"
#include "protocol/hs3_frame.h"

namespace zk::protocol {

namespace {

Bytes with_card(Bytes head, std::uint32_t card)
{
    append_be(head, card, 4);
    return head;
}

} // namespace

Bytes volume_read()
{
    return {byte_of(Command::volume), op_read, volume_channel};
}

Bytes volume_write(std::uint8_t volume)
{
    return {byte_of(Command::volume), op_write, volume_channel, volume};
}

Bytes timings_read()
{
    return {byte_of(Command::timings), op_read};
}

Bytes timings_write(std::uint8_t screen, std::uint8_t warm_up, std::uint8_t cool_down)
{
    return {byte_of(Command::timings), op_write, timings_tag, screen, warm_up, cool_down};
}

Bytes controller_id_read()
{
    return {byte_of(Command::controller_id), op_read};
}

Bytes controller_id_write(std::uint16_t id)
{
    Bytes payload{byte_of(Command::controller_id), op_write};
    append_be(payload, id, 2);
    return payload;
}

Bytes authorisation_write(bool paused)
{
    return {byte_of(Command::authorisation), op_write,
            paused ? authorisation_paused : authorisation_resumed};
}

Bytes card_read()
{
    return {byte_of(Command::registry), op_read, registry_read::card};
}

Bytes card_count_read()
{
    return {byte_of(Command::registry), op_read, registry_read::count};
}

Bytes card_lookup(std::uint32_t card)
{
    return with_card({byte_of(Command::registry), op_read, registry_read::lookup}, card);
}

Bytes card_register(std::uint32_t card)
{
    return with_card({byte_of(Command::registry), op_write, registry_write::card}, card);
}

Bytes fingerprint_enrol()
{
    return {byte_of(Command::registry), op_write, registry_write::enrol_fingerprint, 0x01};
}

Bytes fingerprint_delete()
{
    return {byte_of(Command::registry), op_write, registry_write::delete_fingerprint};
}

Bytes card_delete(std::uint32_t card)
{
    return with_card({byte_of(Command::registry), op_write, registry_write::delete_card}, card);
}

Bytes swipe_mode_read()
{
    return {byte_of(Command::swipe_mode), op_read};
}

Bytes swipe_mode_write(bool swipe_card)
{
    return {byte_of(Command::swipe_mode), op_write, swipe_card ? swipe_card_mode : public_mode};
}

Bytes fingerprint_count_read()
{
    return {byte_of(Command::fingerprint_count), op_read};
}

Bytes projector_codes_read()
{
    return {byte_of(Command::projector_codes), op_read};
}

Bytes projector_codes_write(const ProjectorCodes& settings)
{
    Bytes payload{byte_of(Command::projector_codes), op_write};
    append_be(payload, settings.baud & 0xFFFFFF, 3);
    payload.insert(payload.end(), {settings.parity, data_bits, stop_bits});
    for (const Bytes& block : settings.codes) {
        payload.insert(payload.end(), {code_block_mark, code_block_mark});
        payload.push_back(static_cast<std::uint8_t>(block.size()));
        payload.insert(payload.end(), block.begin(), block.end());
    }
    return payload;
}

bool projector_codes_fit(const std::array<Bytes, 4>& codes)
{
    std::size_t bytes = 0;
    for (const Bytes& code : codes)
        bytes += code.size();
    return bytes <= projector_code_capacity;
}

static_assert(projector_code_capacity + 20 == max_payload);

} // namespace zk::protocol
