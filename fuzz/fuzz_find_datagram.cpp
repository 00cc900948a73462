// The find window driven by a run of events: configuration datagrams from anyone on the
// segment, interleaved with what the operator does (pick a list entry, type into a box, press
// 设置IP or 查找). Whatever arrives, the list and the found MACs stay in step.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "present/find/find_handlers.h"
#include "support/fuzz_input.h"
#include "support/memory_controls.h"
#include "support/recording_sender.h"

namespace {

using namespace zk;

// Longer than any address or port with spaces, full-width digits and stray dots in it. Longer
// texts reveal nothing more to the parsers and only make every later write slower.
constexpr std::size_t longest_typed = 64;

struct FindFixture
{
    test::MemoryFindWindow window;
    AppState state;
    test::RecordingSender sender;
    test::RecordingMessageBoxes boxes;
    present::FindContext context{window.view, state, sender,
                                 boxes,       50000, [] { return std::string("10.0.0.9"); }};
};

EditBox& box(FindFixture& f, std::uint8_t which)
{
    EditBox* boxes[] = {&f.window.编辑框中控IP, &f.window.编辑框子网掩码, &f.window.编辑框网关,
                        &f.window.编辑框服务器IP, &f.window.编辑框远程端口};
    return *boxes[which % std::size(boxes)];
}

void step(FindFixture& f, std::uint8_t event, fuzz::FuzzInput& in)
{
    switch (event % 5) {
    case 0:
        present::handle_config_datagram(f.context, in.datagram());
        break;
    case 1: // the operator picks an entry, or clicks below the last one
        f.window.列表框中控IP.set_selection(static_cast<std::int8_t>(in.byte().value_or(0)));
        present::select_found_controller(f.context);
        break;
    case 2: {
        EditBox& target = box(f, in.byte().value_or(0));
        const ByteView typed = in.datagram(longest_typed);
        target.set_content(std::string(typed.begin(), typed.end()));
        break;
    }
    case 3:
        present::write_network_parameters(f.context);
        break;
    default:
        present::start_search(f.context);
        break;
    }
}

// The write just sent carries code 01 and the selected MAC, in a whole configuration block.
bool writes_selected(const FindFixture& f)
{
    const std::optional<discovery::Request> sent =
        discovery::decode_request(f.sender.sends.back().data);
    if (!sent || !std::holds_alternative<discovery::WriteRequest>(*sent)) return false;
    return discovery::mac_of(*sent) == f.state.selected_mac;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FindFixture f;
    fuzz::FuzzInput in(data, size);
    while (const std::optional<std::uint8_t> event = in.byte()) {
        const std::size_t sent_before = f.sender.sends.size();
        step(f, *event, in);
        if (*event % 5 == 0)
            fuzz::require(f.sender.sends.size() == sent_before, "an arrival sends nothing");
        else if (*event % 5 == 3 && f.sender.sends.size() > sent_before)
            fuzz::require(writes_selected(f), "a write goes to the selected controller");
        fuzz::require(f.window.列表框中控IP.items().size() == f.state.found_macs.size(),
                      "the list and the found MACs have one entry per controller");
    }
    return 0;
}
