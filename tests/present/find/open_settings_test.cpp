#include "present/find/open_settings.h"

#include <gtest/gtest.h>

#include "present/port_report.h"
#include "support/memory_controls.h"

namespace zk {
namespace {

struct AddressCase
{
    const char* typed;
    const char* address; // nullptr: refused
};

TEST(confirm_controller_address, trims_spaces_and_needs_eight_bytes)
{
    const AddressCase cases[] = {
        {"  192.168.1.10  ", "192.168.1.10"},
        {"\u3000"
         "10.0.0.1"
         "\u3000",
         "10.0.0.1"},             // ideographic spaces go too
        {"10.0.0.1", "10.0.0.1"}, // exactly 8 bytes
        {"1.2.3.4", nullptr},     // 7 bytes
        {"", nullptr},
        {"        ", nullptr},
        {"\t1.2.3.4", "\t1.2.3.4"},       // a tab is not a space and counts
        {"controller-7", "controller-7"}, // a host name is taken as it is
        {"中控一二", "中控一二"},         // four characters count 8 bytes
        {"中控一", nullptr},
        {"10.0. 0.1", "10.0. 0.1"}, // inner spaces stay
    };
    for (const AddressCase& c : cases) {
        AppState state;
        state.controller_address = "previous";
        test::RecordingMessageBoxes boxes;
        const bool accepted = confirm_controller_address(c.typed, state, boxes);
        SCOPED_TRACE(c.typed);
        if (c.address) {
            EXPECT_TRUE(accepted);
            EXPECT_EQ(state.controller_address, c.address);
            EXPECT_TRUE(boxes.shown.empty());
        } else {
            EXPECT_FALSE(accepted);
            EXPECT_EQ(state.controller_address, "previous");
            EXPECT_EQ(boxes.shown, std::vector<std::string>{"请输入中控IP"});
        }
    }
}

TEST(app_state, starts_with_zero_mac_and_zero_block)
{
    const AppState state;
    EXPECT_EQ(state.selected_mac, discovery::Mac{});
    EXPECT_FALSE(state.held_reply);
    EXPECT_TRUE(state.found_macs.empty());
    EXPECT_TRUE(state.controller_address.empty());
}

TEST(report_unbound_port, names_the_port_once_and_only_when_unbound)
{
    test::RecordingMessageBoxes boxes;
    report_unbound_port(true, 60000, boxes);
    EXPECT_TRUE(boxes.shown.empty());
    report_unbound_port(false, 60000, boxes);
    report_unbound_port(false, 16006, boxes);
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"端口60000已被占用，无法收发数据",
                                                     "端口16006已被占用，无法收发数据"}));
}

} // namespace
} // namespace zk
