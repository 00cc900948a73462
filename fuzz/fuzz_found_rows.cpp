// Search replies from anything on the segment: whatever a controller puts after its address,
// zkctl discover prints each controller as one line of its table, one CSV row and one valid
// JSON object, and nothing in the bytes can end the program.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "cli/found_controllers.h"
#include "discovery/config_datagram.h"
#include "support/fuzz_input.h"

namespace {

// The input's bytes from offset 17 on, behind the flag and the search-reply code.
zk::Bytes search_reply(zk::ByteView from_offset_17)
{
    using namespace zk::discovery;
    zk::Bytes reply(config_length, 0);
    std::copy(config_flag.begin(), config_flag.end(), reply.begin());
    reply[offset::code] = static_cast<std::uint8_t>(ConfigCode::search_reply);
    const std::size_t room = config_length - offset::mac;
    std::copy_n(from_offset_17.begin(), std::min(room, from_offset_17.size()),
                reply.begin() + offset::mac);
    return reply;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    fuzz::FuzzInput in(data, size);
    std::vector<Bytes> replies;
    while (!in.empty())
        replies.push_back(search_reply(in.datagram(discovery::config_length)));
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
