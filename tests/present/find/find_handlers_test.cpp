#include "present/find/find_handlers.h"

#include <gtest/gtest.h>

#include "discovery/search_reply.h"
#include "present/find/local_address.h"
#include "support/config_replies.h"
#include "support/hex.h"
#include "support/memory_controls.h"
#include "support/recording_sender.h"

namespace zk::present {
namespace {

using test::from_hex;
using test::to_hex;

const Bytes mac_a = from_hex("84 C2 E4 01 0A FF");
const Bytes mac_b = from_hex("84 C2 E4 00 00 02");

// The held reply's bytes, as the write will carry them; empty when none is held.
Bytes held(const AppState& state)
{
    return state.held_reply ? discovery::encode(*state.held_reply) : Bytes{};
}

discovery::Mac mac_of(const Bytes& mac)
{
    return discovery::mac_from(mac);
}

using test::config_reply_of;
using test::flagged;
using test::put;
using test::search_reply_of;

class find_handlers : public ::testing::Test
{
protected:
    // Lists A (and B), selects entry `index` and lets the held block arrive when given.
    void select(int index, const Bytes* reply)
    {
        window.列表框中控IP.set_selection(index);
        select_found_controller(context);
        if (reply) handle_config_datagram(context, *reply);
    }

    void list_a_and_b()
    {
        handle_config_datagram(context, search_reply_of(mac_a, "C0 A8 01 C8"));
        handle_config_datagram(context, search_reply_of(mac_b, "C0 A8 01 C9"));
    }

    test::MemoryFindWindow window;
    AppState state;
    test::RecordingSender sender;
    test::RecordingMessageBoxes boxes;
    int lookups = 0;
    FindContext context{window.view, state, sender, boxes, 50000, [this] {
                            ++lookups;
                            return std::string("10.0.0.5");
                        }};
};

TEST_F(find_handlers, search_empties_list_macs_and_three_fields_then_broadcasts)
{
    list_a_and_b();
    window.编辑框中控IP.set_content("1.1.1.1");
    window.编辑框子网掩码.set_content("2");
    window.编辑框网关.set_content("3");
    window.编辑框本机IP.set_content("4");
    window.编辑框服务器IP.set_content("5");
    window.编辑框远程端口.set_content("6");
    start_search(context);
    EXPECT_EQ(window.列表框中控IP.item_count(), 0);
    EXPECT_TRUE(state.found_macs.empty());
    EXPECT_EQ(window.编辑框中控IP.content(), "");
    EXPECT_EQ(window.编辑框子网掩码.content(), "");
    EXPECT_EQ(window.编辑框网关.content(), "");
    EXPECT_EQ(window.编辑框本机IP.content(), "4");
    EXPECT_EQ(window.编辑框服务器IP.content(), "5");
    EXPECT_EQ(window.编辑框远程端口.content(), "6");
    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(sender.sends[0].address, "");
    EXPECT_EQ(sender.sends[0].port, 50000);
    EXPECT_EQ(to_hex(ByteView(sender.sends[0].data).first(23)),
              "43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 04 00 00 00 00 00 00");
}

TEST_F(find_handlers, search_replies_are_listed_in_arrival_order_twice_when_answered_twice)
{
    list_a_and_b();
    handle_config_datagram(context, search_reply_of(mac_a, "C0 A8 01 C8"));
    handle_config_datagram(context, Bytes(284, 0x43)); // too short: nothing
    EXPECT_EQ(window.列表框中控IP.items(),
              (std::vector<std::string>{"MAC:84:C2:E4:1:A:FF IP:192.168.1.200",
                                        "MAC:84:C2:E4:0:0:2 IP:192.168.1.201",
                                        "MAC:84:C2:E4:1:A:FF IP:192.168.1.200"}));
    EXPECT_EQ(state.found_macs,
              (std::vector<discovery::Mac>{mac_of(mac_a), mac_of(mac_b), mac_of(mac_a)}));
}

TEST_F(find_handlers, selecting_reads_the_entry_and_the_reply_fills_the_fields)
{
    list_a_and_b();
    const Bytes reply = config_reply_of(mac_b, 300);
    select(1, &reply);
    EXPECT_EQ(state.selected_mac, mac_of(mac_b));
    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(to_hex(ByteView(sender.sends[0].data).subspan(16, 7)), "02 84 C2 E4 00 00 02");
    EXPECT_EQ(held(state), reply); // all 300 bytes
    EXPECT_EQ(window.编辑框中控IP.content(), "192.168.1.200");
    EXPECT_EQ(window.编辑框子网掩码.content(), "255.255.255.0");
    EXPECT_EQ(window.编辑框网关.content(), "192.168.1.1");
    EXPECT_EQ(window.编辑框服务器IP.content(), "192.168.1.100");
    EXPECT_EQ(window.编辑框远程端口.content(), "16006");
    EXPECT_EQ(window.编辑框本机IP.content(), "10.0.0.5");
}

TEST_F(find_handlers, replies_of_another_mac_change_nothing)
{
    // Before any selection only the all-zero MAC counts.
    const Bytes zero_mac_reply = config_reply_of(Bytes(6, 0));
    handle_config_datagram(context, config_reply_of(mac_a));
    EXPECT_FALSE(state.held_reply);
    handle_config_datagram(context, zero_mac_reply);
    EXPECT_EQ(held(state), zero_mac_reply);
    window.编辑框中控IP.set_content("");
    list_a_and_b();
    select(0, nullptr);
    handle_config_datagram(context, config_reply_of(mac_b));
    EXPECT_EQ(held(state), zero_mac_reply);
    EXPECT_EQ(window.编辑框中控IP.content(), "");
}

TEST_F(find_handlers, every_selection_event_refreshes_the_local_address_even_when_unusable)
{
    select(-1, nullptr);
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(window.编辑框本机IP.content(), "10.0.0.5");
    EXPECT_TRUE(sender.sends.empty());
    EXPECT_EQ(state.selected_mac, discovery::Mac{});
}

TEST_F(find_handlers, a_write_acknowledgement_always_shows_its_message)
{
    handle_config_datagram(context, flagged("81", mac_b));
    EXPECT_EQ(boxes.shown, std::vector<std::string>{"IP参数设置成功"});
}

TEST_F(find_handlers, a_refusal_is_shown_only_for_the_selected_controller)
{
    list_a_and_b();
    select(1, nullptr);
    handle_config_datagram(context, flagged("C1", mac_a)); // another controller refused
    EXPECT_TRUE(boxes.shown.empty());
    handle_config_datagram(context, flagged("C1", mac_b, 284)); // too short to be one
    EXPECT_TRUE(boxes.shown.empty());
    handle_config_datagram(context, flagged("C1", mac_b));
    EXPECT_EQ(boxes.shown, std::vector<std::string>{"中控拒绝了IP参数,未写入"});
}

TEST_F(find_handlers, writes_the_held_block_with_the_fields_and_constants)
{
    struct Case
    {
        const char* ip;
        const char* port;
        const char* ip_bytes;
        const char* port_bytes;
    };
    const Case cases[] = {
        {"192.168.1.50", "16006", "C0 A8 01 32", "86 3E"},
        {"192.168. 1.50", "16006", "C0 A8 01 32", "86 3E"},
        {" 192.168.1.7　", " 1", "C0 A8 01 07", "01 00"},
        {"192.168.1.253", "65535", "C0 A8 01 FD", "FF FF"},
        {"192.168.001.3", "50000", "C0 A8 01 03", "50 C3"},
    };
    list_a_and_b();
    const Bytes reply = config_reply_of(mac_a, 300);
    select(0, &reply);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ip);
        sender.sends.clear();
        window.编辑框中控IP.set_content(c.ip);
        window.编辑框远程端口.set_content(c.port);
        window.编辑框网关.set_content("192.168.1.254");
        write_network_parameters(context);
        Bytes expected = reply;
        put(expected, 16, "01 84 C2 E4 01 0A FF");
        put(expected, 62, c.ip_bytes);
        put(expected, 66, "C0 A8 01 FE");
        put(expected, 70, "FF FF FF 00");
        put(expected, 171, "03 00 86 3E C0 A8 01 64");
        put(expected, 179, c.port_bytes);
        put(expected, 181, "00 C2 01 00 08 01 04 01 00 04 00 00 32 00 00 00");
        ASSERT_EQ(sender.sends.size(), 1u);
        EXPECT_EQ(sender.sends[0].address, "");
        EXPECT_EQ(sender.sends[0].port, 50000);
        EXPECT_EQ(to_hex(sender.sends[0].data), to_hex(expected));
        EXPECT_TRUE(boxes.shown.empty());
    }
    EXPECT_EQ(held(state), reply);
    EXPECT_EQ(window.编辑框中控IP.content(), "192.168.001.3");
}

TEST_F(find_handlers, refuses_bad_fields_by_name_and_sends_nothing)
{
    struct Case
    {
        test::MemoryEditBox test::MemoryFindWindow::*box;
        const char* text;
        const char* message;
    };
    using W = test::MemoryFindWindow;
    const Case cases[] = {
        {&W::编辑框中控IP, "192.168.1.300", "中控IP格式错误"},
        {&W::编辑框中控IP, "192.168.1", "中控IP格式错误"},
        {&W::编辑框中控IP, "192.168.1.50.7", "中控IP格式错误"},
        {&W::编辑框中控IP, "192.168.1.", "中控IP格式错误"},
        {&W::编辑框中控IP, "192.168..50", "中控IP格式错误"},
        {&W::编辑框中控IP, "192.168.1.-1", "中控IP格式错误"},
        {&W::编辑框中控IP, "", "中控IP格式错误"},
        {&W::编辑框子网掩码, "255.255.255.0x", "子网掩码格式错误"},
        {&W::编辑框网关, "a.b.c.d", "默认网关格式错误"},
        {&W::编辑框服务器IP, "1.2.3.256", "服务器IP格式错误"},
        {&W::编辑框远程端口, "70000", "远程端口格式错误"},
        {&W::编辑框远程端口, "", "远程端口格式错误"},
        {&W::编辑框远程端口, "-1", "远程端口格式错误"},
        {&W::编辑框远程端口, "16006x", "远程端口格式错误"},
        // Sound fields that make a block the module would refuse: named by its rule.
        {&W::编辑框网关, "10.0.0.1", "中控会拒绝这些IP参数,未发送: gateway outside the subnet"},
        {&W::编辑框远程端口, "0", "中控会拒绝这些IP参数,未发送: server port 0"},
    };
    list_a_and_b();
    const Bytes reply = config_reply_of(mac_a);
    select(0, &reply);
    const std::size_t before = sender.sends.size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        handle_config_datagram(context, reply); // good values in every field again
        boxes.shown.clear();
        (window.*c.box).set_content(c.text);
        write_network_parameters(context);
        EXPECT_EQ(boxes.shown, std::vector<std::string>{c.message});
        EXPECT_EQ(sender.sends.size(), before);
    }
}

TEST_F(find_handlers, writes_over_a_controllers_own_bytes_and_lists_the_address_written)
{
    list_a_and_b();
    // A DHCP byte of 55 and a name without its zero: another maker's use of the module's bytes.
    Bytes reply = config_reply_of(mac_a);
    put(reply, 74, "37");
    put(reply, 35, "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41");
    select(0, &reply);
    window.编辑框中控IP.set_content("192.168.1.50");
    window.编辑框网关.set_content("0.0.0.0"); // no gateway on an isolated segment
    write_network_parameters(context);
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(sender.sends.size(), 2u); // the read, then the write
    EXPECT_EQ(sender.sends[1].data[74], 0x37);
    // An acknowledgement that carries nothing but its code and MAC.
    handle_config_datagram(context, flagged("81", mac_a));
    EXPECT_EQ(window.列表框中控IP.items(),
              (std::vector<std::string>{"MAC:84:C2:E4:1:A:FF IP:192.168.1.50",
                                        "MAC:84:C2:E4:0:0:2 IP:192.168.1.201"}));
}

TEST_F(find_handlers, refuses_an_address_another_listed_controller_shows)
{
    list_a_and_b();
    handle_config_datagram(context, search_reply_of(mac_a, "C0 A8 01 C8")); // A answered twice
    const Bytes reply = config_reply_of(mac_a);
    select(0, &reply);
    window.编辑框中控IP.set_content("192.168.1.201");
    write_network_parameters(context);
    EXPECT_EQ(boxes.shown, std::vector<std::string>{
                               "中控IP已被列表中的另一台中控使用 (MAC:84:C2:E4:0:0:2),未发送"});
    EXPECT_EQ(sender.sends.size(), 1u);               // the read only
    window.编辑框中控IP.set_content("192.168.1.200"); // its own address, listed twice
    write_network_parameters(context);
    EXPECT_EQ(sender.sends.size(), 2u);
}

TEST_F(find_handlers, refuses_to_write_without_a_reply_of_the_selected_controller)
{
    // Nothing received yet: the block is all zeros.
    window.编辑框中控IP.set_content("192.168.1.50");
    write_network_parameters(context);
    // B selected but only A ever answered.
    list_a_and_b();
    const Bytes reply = config_reply_of(mac_a);
    select(0, &reply);
    select(1, nullptr);
    write_network_parameters(context);
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{"请先选择中控并读取IP参数", "请先选择中控并读取IP参数"}));
    EXPECT_EQ(sender.sends.size(), 2u); // the two reads, no write
}

TEST_F(find_handlers, a_failed_send_is_reported)
{
    sender.fail = true;
    start_search(context);
    EXPECT_EQ(boxes.shown, std::vector<std::string>{"发送失败"});
}

TEST(local_address, prefers_the_host_name_unless_it_only_gives_loopback)
{
    const std::vector<Adapter> adapters = {{"eth0 10.1.1.1", 2, "10.1.1.1"},
                                           {"eth1 10.2.2.2", 3, "10.2.2.2"}};
    struct Case
    {
        const char* what;
        std::vector<std::string> host;
        std::vector<Adapter> adapters;
        int selected;
        const char* shown;
    };
    const Case cases[] = {
        {"host name resolves", {"192.168.1.9", "127.0.1.1"}, adapters, 1, "192.168.1.9"},
        {"loopback only: the chosen adapter", {"127.0.1.1"}, adapters, 1, "10.2.2.2"},
        {"loopback, none chosen: any adapter", {"127.0.1.1"}, adapters, -1, "10.1.1.1"},
        {"lookup failed", {}, adapters, 0, "10.1.1.1"},
        {"nothing at all", {}, {}, -1, ""},
        {"loopback and no adapter", {"127.0.1.1"}, {}, -1, "127.0.1.1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown_local_address(c.host, c.adapters, c.selected), c.shown) << c.what;
}

} // namespace
} // namespace zk::present
