#include "present/settings/cards.h"

#include <string>

#include <gtest/gtest.h>

#include "page_fixture.h"

namespace zk::present {
namespace {

using test::from_hex;
using test::to_hex;
using test_page::Page;

using Handler = void (*)(SettingsContext&);

TEST(cards, read_card_clears_both_labels_and_the_box_then_sends_a5_00_00)
{
    Page page;
    page.window.标签状态.set_caption("卡号读出成功");
    page.window.标签卡状态.set_caption("找到卡号:7");
    page.window.编辑框卡号.set_content("7");

    on_read_card(page.context);

    EXPECT_EQ(page.window.标签状态.caption(), "");
    EXPECT_EQ(page.window.标签卡状态.caption(), "");
    EXPECT_EQ(page.window.编辑框卡号.content(), "");
    EXPECT_EQ(page.frames(), std::vector<std::string>{"48 53 33 FF 06 00 00 A5 00 00 A3"});
}

TEST(cards, a_failed_card_read_stays_visible_after_the_clearing)
{
    Page page;
    page.sender.fail = true;
    page.window.标签状态.set_caption("卡号读出成功");
    on_read_card(page.context);
    EXPECT_EQ(page.window.标签状态.caption(), "发送失败");
}

TEST(cards, lookup_register_and_delete_send_the_box_number_most_significant_byte_first)
{
    struct Case
    {
        const char* box;
        const char* card_bytes;
    };
    const Case cases[] = {
        {"1234567", "00 12 D6 87"},
        {"0012345678", "00 BC 61 4E"},
        {"4294967295", "FF FF FF FF"},
        {"0", "00 00 00 00"},
        {" 42 ", "00 00 00 2A"},
        {"\u300016777216\u3000", "01 00 00 00"},
        {"000000000000001", "00 00 00 01"},
    };
    struct Action
    {
        Handler handler;
        const char* head;
    };
    const Action actions[] = {{on_lookup_card, "A5 00 02 "},
                              {on_register_card, "A5 C5 00 "},
                              {on_delete_card, "A5 C5 03 "}};
    for (const Action& action : actions) {
        for (const Case& c : cases) {
            Page page;
            page.window.编辑框卡号.set_content(c.box);
            page.window.标签卡状态.set_caption("earlier");
            action.handler(page.context);
            EXPECT_EQ(page.payload(), std::string(action.head) + c.card_bytes) << c.box;
            // Nothing is cleared before the answer.
            EXPECT_EQ(page.window.编辑框卡号.content(), c.box);
            EXPECT_EQ(page.window.标签卡状态.caption(), "earlier");
        }
    }
}

TEST(cards, registering_1234567_is_the_documented_frame)
{
    Page page;
    page.window.编辑框卡号.set_content("1234567");
    on_register_card(page.context);
    EXPECT_EQ(page.frames(),
              std::vector<std::string>{"48 53 33 FF 0A 00 00 A5 C5 00 00 12 D6 87 29"});
}

TEST(cards, a_box_without_a_valid_card_number_is_refused)
{
    const char* boxes[] = {"",    "   ", "12AB", "4294967296",          "-1", "+5", "1.5",
                           "1e3", "1 2", "１２", "99999999999999999999"};
    for (Handler handler : {on_lookup_card, on_register_card, on_delete_card}) {
        for (const char* box : boxes) {
            Page page;
            page.window.编辑框卡号.set_content(box);
            handler(page.context);
            EXPECT_EQ(page.window.标签卡状态.caption(), "卡号无效") << "[" << box << "]";
            EXPECT_TRUE(page.sender.sends.empty()) << "[" << box << "]";
            EXPECT_EQ(page.window.编辑框卡号.content(), box);
        }
    }
}

TEST(cards, only_the_authorisation_page_asks_for_the_card_count)
{
    Page page;
    for (int shown : {2, 0, 1, 2, 2, 1}) {
        page.window.选择夹1.show_page(shown);
        on_page_changed(page.context);
    }
    const std::string count_request = "48 53 33 FF 06 00 00 A5 00 01 A2";
    EXPECT_EQ(page.frames(),
              (std::vector<std::string>{count_request, count_request, count_request}));
}

} // namespace
} // namespace zk::present
