#pragma once
// How the stateful targets read a run of events out of one fuzz input, and how every target
// stops on a broken invariant. Inputs are a sequence of records so that a datagram can meet
// the state an earlier one left behind (a search reply before a configuration reply, a card
// registered before it is looked up).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/bytes.h"

namespace zk::fuzz {

class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    bool empty() const { return rest_.empty(); }

    // One byte; nullopt at the end of the input.
    std::optional<std::uint8_t> byte()
    {
        if (rest_.empty()) return std::nullopt;
        const std::uint8_t b = rest_.front();
        rest_ = rest_.subspan(1);
        return b;
    }

    // A two-byte length (high byte first), then that many bytes, or what is left when the input
    // ends sooner. A length above `longest` takes only `longest` bytes; the rest of the input
    // goes on as further events.
    ByteView datagram(std::size_t longest = SIZE_MAX)
    {
        std::size_t length = byte().value_or(0);
        length = (length << 8) | byte().value_or(0);
        length = std::min({length, longest, rest_.size()});
        const ByteView out = rest_.first(length);
        rest_ = rest_.subspan(length);
        return out;
    }

private:
    ByteView rest_;
};

// A broken invariant is a finding: say which, and abort so that libFuzzer keeps the input.
inline void require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace zk::fuzz
