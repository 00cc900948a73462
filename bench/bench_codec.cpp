// Operations per second of the codecs on frames the controllers send and the tool builds.
#include <benchmark/benchmark.h>

#include "discovery/message.h"
#include "discovery/search_reply.h"
#include "protocol/hs3_frame.h"
#include "protocol/replies.h"
#include "protocol/request.h"

namespace {

using zk::Bytes;

Bytes bytes(std::initializer_list<int> values)
{
    Bytes out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

// A card read and a projector-codes reply with four codes, as a controller sends them.
const Bytes card_reply = bytes({0x48, 0x53, 0x33, 0xFF, 0x0B, 0x00, 0x00, 0xA5, 0x00, 0x00, 0x00,
                                0x00, 0x12, 0xD6, 0x87, 0xED});
const Bytes codes_reply =
    bytes({0x48, 0x53, 0x33, 0xFF, 0x1D, 0x00, 0x00, 0x45, 0x00, 0x00, 0x25, 0x80,
           0x02, 0x08, 0x01, 0xCE, 0xCE, 0x02, 0x0A, 0xFF, 0xCE, 0xCE, 0x01, 0x11,
           0xCE, 0xCE, 0x00, 0xCE, 0xCE, 0x03, 0x01, 0x02, 0x03, 0x12});

Bytes search_reply()
{
    return zk::discovery::encode(zk::discovery::SearchReply{
        {0x84, 0xC2, 0xE4, 0x00, 0x07, 0xD0}, {10, 30, 7, 208}, {}, 0, {}});
}

void decode_card_read(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::protocol::decode_reply(card_reply));
}
BENCHMARK(decode_card_read);

void decode_projector_codes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::protocol::decode_reply(codes_reply));
}
BENCHMARK(decode_projector_codes);

void build_volume_write_frame(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            zk::protocol::wrap_frame(zk::protocol::encode_request(zk::protocol::WriteVolume{7})));
}
BENCHMARK(build_volume_write_frame);

void build_projector_codes_frame(benchmark::State& state)
{
    zk::protocol::ProjectorCodes codes;
    codes.baud = 9600;
    codes.parity = 2;
    codes.codes = {bytes({0x0A, 0xFF}), bytes({0x11}), Bytes{}, bytes({1, 2, 3})};
    // The request as a handler has made it: the row times the encoder, not copying the codes.
    const zk::protocol::Request request = zk::protocol::WriteProjectorCodes{codes};
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::protocol::wrap_frame(zk::protocol::encode_request(request)));
}
BENCHMARK(build_projector_codes_frame);

// What the find window does with each search reply before it reaches the list.
void accept_search_reply(benchmark::State& state)
{
    const Bytes reply = search_reply();
    for (auto _ : state) {
        const std::optional<zk::discovery::Reply> decoded = zk::discovery::decode_reply(reply);
        const auto& found = std::get<zk::discovery::SearchReply>(*decoded);
        benchmark::DoNotOptimize(zk::discovery::list_entry(found.mac, found.ip));
    }
}
BENCHMARK(accept_search_reply);

void build_search_request(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::discovery::encode(zk::discovery::SearchRequest{}));
}
BENCHMARK(build_search_request);

} // namespace
