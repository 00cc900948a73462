// Any datagram arriving at the settings window: decoded, then presented into the in-memory
// window, as the program's data-arrived handler does. A reply the decoder accepts must survive
// the trip through the encoder the simulator answers with.
#include <cstddef>
#include <cstdint>

#include "present/settings/present.h"
#include "protocol/replies.h"
#include "support/fuzz_input.h"
#include "support/memory_controls.h"
#include "support/recording_sender.h"

namespace {

using namespace zk;

// Re-encoding keeps every field, with two exceptions of the projector-codes reply: the encoder
// drops whole trailing code blocks that do not fit a frame, and as the decoder reads by offset,
// the checksum after a bare rate reads back as a parity.
bool survives_encoding(const protocol::Reply& reply)
{
    const std::optional<protocol::Reply> again =
        protocol::decode_reply(protocol::encode_reply(reply));
    if (!again) return false;
    const auto* codes = std::get_if<protocol::ProjectorCodesData>(&reply);
    const auto* codes_again = std::get_if<protocol::ProjectorCodesData>(&*again);
    if (!codes || !codes_again) return *again == reply;
    if (codes->baud != codes_again->baud) return false;
    if (codes->parity && codes->parity != codes_again->parity) return false;
    if (codes_again->codes.size() > codes->codes.size()) return false;
    for (std::size_t i = 0; i < codes_again->codes.size(); ++i) {
        if (codes_again->codes[i] != codes->codes[i]) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteView datagram(data, size);
    test::MemorySettingsWindow window;
    test::RecordingSender sender;
    // An odd-sized datagram finds the follow-up request refused, so that path runs too.
    sender.fail = size % 2 == 1;
    const protocol::ControllerLink link{sender, "192.168.1.200", 16006};
    present::on_settings_datagram(datagram, window.view, link);

    if (const std::optional<protocol::Reply> reply = protocol::decode_reply(datagram))
        fuzz::require(survives_encoding(*reply), "a decoded reply re-encodes to the same reply");
    return 0;
}
