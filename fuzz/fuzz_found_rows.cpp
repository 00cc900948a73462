// Search replies from anything on the segment: whatever a controller puts after its address,
// zkctl discover prints each controller as one line of its table, one CSV row and one valid
// JSON object, and nothing in the bytes can end the program.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "cli/found_controllers.h"
#include "discovery/message.h"
#include "support/fuzz_input.h"

namespace {

// The input's bytes from offset 17 on, behind the flag and the search-reply code, as the
// client decodes them.
zk::discovery::SearchReply search_reply(zk::ByteView from_offset_17)
{
    const std::string_view head = "CH9121_CFG_FLAG";
    zk::Bytes reply(head.begin(), head.end());
    reply.push_back(0x00);
    reply.push_back(0x84);
    reply.insert(reply.end(), from_offset_17.begin(), from_offset_17.end());
    reply.resize(zk::discovery::datagram_length, 0);
    return std::get<zk::discovery::SearchReply>(zk::discovery::decode_reply(reply).value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    fuzz::FuzzInput in(data, size);
    std::vector<discovery::SearchReply> replies;
    while (!in.empty())
        replies.push_back(search_reply(in.datagram(discovery::datagram_length - 17)));
    std::vector<cli::FoundController> rows = cli::found_from(replies);
    cli::complete(rows, {});
    const auto lines = [](const std::string& text) {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    };
    fuzz::require(lines(cli::to_table(rows)) == rows.size() + 1, "one table line a controller");
    fuzz::require(lines(cli::to_csv(rows)) == rows.size() + 1, "one CSV line a controller");
    for (const cli::FoundController& row : rows) {
        const std::string json = cli::to_json(row).dump(); // throws on invalid UTF-8
        fuzz::require(lines(json) == 0, "one JSON line a controller");
        fuzz::require(!nlohmann::json::parse(json, nullptr, false).is_discarded(), "valid JSON");
    }
    return 0;
}
