#include "protocol/requests.h"

#include "protocol/hs3_frame.h"

namespace zk::protocol {

namespace {

constexpr auto op_read = static_cast<std::uint8_t>(Operation::read);
constexpr auto op_write = static_cast<std::uint8_t>(Operation::write);

constexpr std::uint8_t code(Command command)
{
    return static_cast<std::uint8_t>(command);
}

Bytes with_card(Bytes head, std::uint32_t card)
{
    append_be(head, card, 4);
    return head;
}

// Sub-codes of the registry command, the byte after the operation; reads and writes number
// theirs separately.
namespace registry_read {
constexpr std::uint8_t card = 0x00;
constexpr std::uint8_t count = 0x01;
constexpr std::uint8_t lookup = 0x02;
} // namespace registry_read

namespace registry_write {
constexpr std::uint8_t card = 0x00;
constexpr std::uint8_t enrol_fingerprint = 0x01;
constexpr std::uint8_t delete_fingerprint = 0x02;
constexpr std::uint8_t delete_card = 0x03;
} // namespace registry_write

constexpr std::uint8_t code_block_mark = 0xCE;
constexpr std::uint8_t data_bits = 0x08;
constexpr std::uint8_t stop_bits = 0x01;

} // namespace

Bytes volume_read()
{
    return {code(Command::volume), op_read, 0x01};
}

Bytes volume_write(std::uint8_t volume)
{
    return {code(Command::volume), op_write, 0x01, volume};
}

Bytes timings_read()
{
    return {code(Command::timings), op_read};
}

Bytes timings_write(std::uint8_t screen, std::uint8_t warm_up, std::uint8_t cool_down)
{
    return {code(Command::timings), op_write, 0x02, screen, warm_up, cool_down};
}

Bytes controller_id_read()
{
    return {code(Command::controller_id), op_read};
}

Bytes controller_id_write(std::uint16_t id)
{
    Bytes payload{code(Command::controller_id), op_write};
    append_be(payload, id, 2);
    return payload;
}

Bytes authorisation_write(bool paused)
{
    return {code(Command::authorisation), op_write,
            static_cast<std::uint8_t>(paused ? 0x01 : 0x00)};
}

Bytes card_read()
{
    return {code(Command::registry), op_read, registry_read::card};
}

Bytes card_count_read()
{
    return {code(Command::registry), op_read, registry_read::count};
}

Bytes card_lookup(std::uint32_t card)
{
    return with_card({code(Command::registry), op_read, registry_read::lookup}, card);
}

Bytes card_register(std::uint32_t card)
{
    return with_card({code(Command::registry), op_write, registry_write::card}, card);
}

Bytes fingerprint_enrol()
{
    return {code(Command::registry), op_write, registry_write::enrol_fingerprint, 0x01};
}

Bytes fingerprint_delete()
{
    return {code(Command::registry), op_write, registry_write::delete_fingerprint};
}

Bytes card_delete(std::uint32_t card)
{
    return with_card({code(Command::registry), op_write, registry_write::delete_card}, card);
}

Bytes swipe_mode_read()
{
    return {code(Command::swipe_mode), op_read};
}

Bytes swipe_mode_write(bool swipe_card)
{
    return {code(Command::swipe_mode), op_write,
            static_cast<std::uint8_t>(swipe_card ? 0x00 : 0x02)};
}

Bytes fingerprint_count_read()
{
    return {code(Command::fingerprint_count), op_read};
}

Bytes projector_codes_read()
{
    return {code(Command::projector_codes), op_read};
}

Bytes projector_codes_write(const ProjectorCodes& settings)
{
    Bytes payload{code(Command::projector_codes), op_write};
    append_be(payload, settings.baud & 0xFFFFFF, 3);
    payload.insert(payload.end(), {settings.parity, data_bits, stop_bits});
    for (const Bytes& block : settings.codes) {
        payload.insert(payload.end(), {code_block_mark, code_block_mark});
        payload.push_back(static_cast<std::uint8_t>(block.size()));
        payload.insert(payload.end(), block.begin(), block.end());
    }
    return payload;
}

} // namespace zk::protocol
