// Configuration datagrams both ways: whatever decodes as a request or a reply encodes back to
// exactly the bytes it came in, so no byte a controller sent is lost, moved or judged on its way
// through the tool or the simulated module.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "discovery/message.h"
#include "support/fuzz_input.h"

namespace {

template <class Message>
void require_round_trip(const std::optional<Message>& message, zk::ByteView input)
{
    if (!message) return;
    const zk::Bytes encoded = zk::discovery::encode(*message);
    zk::fuzz::require(encoded.size() == input.size() &&
                          std::equal(encoded.begin(), encoded.end(), input.begin()),
                      "a configuration message encodes back to its bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    const ByteView input(data, size);
    const std::optional<discovery::Request> request = discovery::decode_request(input);
    const std::optional<discovery::Reply> reply = discovery::decode_reply(input);
    fuzz::require(!(request && reply), "a datagram is a request or a reply, never both");
    require_round_trip(request, input);
    require_round_trip(reply, input);
    return 0;
}
