#pragma once
// One pure builder per request payload (command, operation, data). Handlers turn control texts
// into the arguments; nobody assembles request bytes by hand.
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/bytes.h"

namespace zk::protocol {

Bytes volume_read();                     // A8 00 01
Bytes volume_write(std::uint8_t volume); // A8 C5 01 v
Bytes timings_read();                    // 41 00
Bytes timings_write(std::uint8_t screen, // 41 C5 02 s w k
                    std::uint8_t warm_up,
                    std::uint8_t cool_down);
Bytes controller_id_read();                  // 92 00
Bytes controller_id_write(std::uint16_t id); // 92 C5 hi lo
Bytes authorisation_write(bool paused);      // A4 C5 01 (pause) / A4 C5 00 (resume)
Bytes card_read();                           // A5 00 00
Bytes card_count_read();                     // A5 00 01
Bytes card_lookup(std::uint32_t card);       // A5 00 02 c3 c2 c1 c0
Bytes card_register(std::uint32_t card);     // A5 C5 00 c3 c2 c1 c0
Bytes fingerprint_enrol();                   // A5 C5 01 01
Bytes fingerprint_delete();                  // A5 C5 02
Bytes card_delete(std::uint32_t card);       // A5 C5 03 c3 c2 c1 c0
Bytes swipe_mode_read();                     // A6 00
Bytes swipe_mode_write(bool swipe_card);     // A6 C5 00 (swipe card) / A6 C5 02 (public)
Bytes fingerprint_count_read();              // A9 00
Bytes projector_codes_read();                // 45 00

// Serial settings and the four projector codes, in the order power-on, power-off, video,
// computer. Shared by the write request and the read reply.
struct ProjectorCodes
{
    std::uint32_t baud = 0;  // 24 bits on the wire
    std::uint8_t parity = 0; // 0 none, 1 odd, 2 even; 0xFF when nothing is chosen
    std::array<Bytes, 4> codes;
    bool operator==(const ProjectorCodes&) const = default;
};

// 45 C5 b2 b1 b0 p 08 01, then per code CE CE k and the k code bytes. A code longer than 255
// bytes keeps the low 8 bits of its count; callers refuse such codes before building.
Bytes projector_codes_write(const ProjectorCodes& settings);

// The most code bytes the four codes can hold together: one payload, less its fixed 20 bytes.
inline constexpr std::size_t projector_code_capacity = 232;

// Whether the four codes fit one projector-codes request. Beyond it the length and count bytes
// would wrap and the controller would store something else than given; every place that takes
// codes from the operator or a file asks this before building.
bool projector_codes_fit(const std::array<Bytes, 4>& codes);

} // namespace zk::protocol
