// Requests both ways: whatever a datagram's payload decodes to encodes back to the same bytes
// (but the two fixed serial bytes of a projector-codes write, which are not kept) and decodes
// to the same request again, so the tool and the simulator can never read a request apart.
#include <cstddef>
#include <cstdint>

#include "protocol/hs3_frame.h"
#include "protocol/request.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    const ByteView input(data, size);
    (void)protocol::unwrap_frame(input);
    const std::optional<protocol::Request> request = protocol::decode_request(input);
    if (!request) return 0;
    Bytes encoded = protocol::encode_request(*request);
    fuzz::require(protocol::decode_request(encoded) == request, "a request decodes as encoded");
    fuzz::require(encoded.size() == size, "a request encodes to as many bytes as it came in");
    if (std::holds_alternative<protocol::WriteProjectorCodes>(*request)) {
        encoded[6] = data[6];
        encoded[7] = data[7];
    }
    fuzz::require(std::equal(encoded.begin(), encoded.end(), data), "a request encodes back");
    return 0;
}
