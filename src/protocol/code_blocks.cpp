#include "protocol/code_blocks.h"

#include "protocol/codes.h"
#include "protocol/hs3_frame.h"

namespace zk::protocol {

bool projector_codes_fit(const std::array<Bytes, 4>& codes)
{
    std::size_t bytes = 0;
    for (const Bytes& code : codes)
        bytes += code.size();
    return bytes <= projector_code_capacity;
}

void append_serial_settings(Bytes& out, std::uint32_t baud, std::uint8_t parity)
{
    append_be(out, baud & 0xFFFFFF, 3);
    out.insert(out.end(), {parity, data_bits, stop_bits});
}

void append_code_blocks(Bytes& out, std::span<const Bytes> codes)
{
    for (const Bytes& code : codes) {
        out.insert(out.end(), {code_block_mark, code_block_mark});
        out.push_back(static_cast<std::uint8_t>(code.size() & 0xFF));
        out.insert(out.end(), code.begin(), code.end());
    }
}

std::size_t codes_that_fit(std::span<const Bytes> codes, std::size_t used)
{
    std::size_t fit = 0;
    for (; fit < codes.size() && fit < code_count; ++fit) {
        const std::size_t size = codes[fit].size();
        if (size > 0xFF || used + 3 + size > max_payload) break;
        used += 3 + size;
    }
    return fit;
}

CodeBlocks read_code_blocks(ByteView bytes, std::size_t at)
{
    CodeBlocks blocks{{}, at};
    while (blocks.codes.size() < code_count && at + 3 <= bytes.size()) {
        if (bytes[at] != code_block_mark || bytes[at + 1] != code_block_mark) break;
        const std::size_t count = bytes[at + 2];
        at += 3;
        if (at + count > bytes.size()) break;
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        blocks.codes.emplace_back(first, first + static_cast<std::ptrdiff_t>(count));
        at += count;
        blocks.end = at;
    }
    return blocks;
}

} // namespace zk::protocol
