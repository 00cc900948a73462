#include "present/settings/serial_codes.h"

#include <string>

#include <gtest/gtest.h>

#include "page_fixture.h"

namespace zk::present {
namespace {

using test::from_hex;
using test::to_hex;

using test_page::Page;

TEST(serial_codes, read_clears_the_code_boxes_selects_baud_zero_and_sends_45_00)
{
    Page page;
    page.window.编辑框开机码.set_content("AA 01");
    page.window.编辑框关机码.set_content("02");
    page.window.编辑框视频码.set_content("03");
    page.window.编辑框电脑码.set_content("04");
    page.window.组合框波特率.set_selection(4);
    page.window.组合框校验方式.set_selection(2);

    on_read_serial_codes(page.context);

    for (const auto* box : {&page.window.编辑框开机码, &page.window.编辑框关机码,
                            &page.window.编辑框视频码, &page.window.编辑框电脑码})
        EXPECT_EQ(box->content(), "");
    EXPECT_EQ(page.window.组合框波特率.selected_text(), "0");
    EXPECT_EQ(page.window.组合框校验方式.selection(), 2);
    ASSERT_EQ(page.sender.sends.size(), 1u);
    EXPECT_EQ(page.sender.sends[0].data, from_hex("48 53 33 FF 05 00 00 45 00 40"));
    EXPECT_EQ(page.sender.sends[0].address, "192.168.1.200");
    EXPECT_EQ(page.sender.sends[0].port, 16006);
}

TEST(serial_codes, write_with_baud_9600_and_empty_codes_is_the_documented_frame)
{
    Page page;
    page.window.组合框波特率.select_by_text("9600");
    page.window.组合框校验方式.set_selection(0);

    on_write_serial_codes(page.context);

    ASSERT_EQ(page.sender.sends.size(), 1u);
    EXPECT_EQ(page.sender.sends[0].data,
              from_hex("48 53 33 FF 17 00 00 45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 "
                       "CE CE 00 3B"))
        << to_hex(page.sender.sends[0].data);
}

TEST(serial_codes, baud_and_parity_go_to_bytes_two_to_seven)
{
    struct Case
    {
        int baud_item; // -1: nothing selected
        int parity_item;
        const char* bytes;
    };
    const Case cases[] = {
        {0, 0, "00 00 00 00 08 01"},  {1, 1, "00 04 B0 01 08 01"},  {2, 2, "00 09 60 02 08 01"},
        {3, 0, "00 12 C0 00 08 01"},  {4, 0, "00 25 80 00 08 01"},  {5, 0, "00 4B 00 00 08 01"},
        {6, 0, "00 96 00 00 08 01"},  {7, 0, "00 E1 00 00 08 01"},  {8, 2, "01 C2 00 02 08 01"},
        {9, 0, "00 43 30 00 08 01"},  {10, 0, "05 46 00 00 08 01"}, {-1, -1, "00 00 00 FF 08 01"},
        {-1, 1, "00 00 00 01 08 01"}, {4, -1, "00 25 80 FF 08 01"},
    };
    for (const Case& c : cases) {
        Page page;
        page.window.组合框波特率.set_selection(c.baud_item);
        page.window.组合框校验方式.set_selection(c.parity_item);
        on_write_serial_codes(page.context);
        EXPECT_EQ(page.payload(),
                  std::string("45 C5 ") + c.bytes + " CE CE 00 CE CE 00 CE CE 00 CE CE 00")
            << "baud item " << c.baud_item << ", parity " << c.parity_item;
    }
}

TEST(serial_codes, code_texts_become_blocks_in_box_order)
{
    struct Case
    {
        const char* on;
        const char* off;
        const char* video;
        const char* computer;
        const char* blocks;
    };
    const Case cases[] = {
        {" aa 01  5 ", "", "", "", "CE CE 03 AA 01 05 CE CE 00 CE CE 00 CE CE 00"},
        {"", "7E 30 30 0D", "", "", "CE CE 00 CE CE 04 7E 30 30 0D CE CE 00 CE CE 00"},
        {"0", "ff", "Fa", "1", "CE CE 01 00 CE CE 01 FF CE CE 01 FA CE CE 01 01"},
        {"\u3000 0A \u3000", "   ", "", "C5  C5", "CE CE 01 0A CE CE 00 CE CE 00 CE CE 02 C5 C5"},
    };
    for (const Case& c : cases) {
        Page page;
        page.window.编辑框开机码.set_content(c.on);
        page.window.编辑框关机码.set_content(c.off);
        page.window.编辑框视频码.set_content(c.video);
        page.window.编辑框电脑码.set_content(c.computer);
        on_write_serial_codes(page.context);
        EXPECT_EQ(page.payload(), std::string("45 C5 00 00 00 FF 08 01 ") + c.blocks)
            << "codes [" << c.on << "] [" << c.off << "] [" << c.video << "] [" << c.computer
            << "]";
        EXPECT_EQ(page.window.标签状态.caption(), "");
    }
}

TEST(serial_codes, a_token_that_is_not_a_byte_is_refused_by_box_and_token)
{
    struct Case
    {
        int box; // 0 power-on .. 3 computer
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {0, "AA 1a2 01", "投影机开码含无效字节:1a2"},
        {1, "g", "投影机关码含无效字节:g"},
        {2, "01 0x1 zz", "投影视频码含无效字节:0x1"},
        {3, "7E 30\t0D", "投影电脑码含无效字节:30\t0D"},
        {0, "0A\u3000FF", "投影机开码含无效字节:0A\u3000FF"},
        {1, "１２", "投影机关码含无效字节:１２"},
    };
    for (const Case& c : cases) {
        Page page;
        EditBox* boxes[] = {&page.window.编辑框开机码, &page.window.编辑框关机码,
                            &page.window.编辑框视频码, &page.window.编辑框电脑码};
        boxes[c.box]->set_content(c.text);
        on_write_serial_codes(page.context);
        EXPECT_EQ(page.window.标签状态.caption(), c.message) << c.text;
        EXPECT_TRUE(page.sender.sends.empty()) << c.text;
    }
}

TEST(serial_codes, the_first_bad_box_is_named_when_several_are_bad)
{
    Page page;
    page.window.编辑框视频码.set_content("XY");
    page.window.编辑框关机码.set_content("01 100");
    on_write_serial_codes(page.context);
    EXPECT_EQ(page.window.标签状态.caption(), "投影机关码含无效字节:100");
    EXPECT_TRUE(page.sender.sends.empty());
}

std::string tokens(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "AB ";
    return text;
}

TEST(serial_codes, codes_too_long_for_one_frame_are_refused)
{
    struct Case
    {
        int on, off, video, computer;
        bool sent;
    };
    // Payload = 20 + all code bytes; 252 is the most one frame describes.
    const Case cases[] = {
        {232, 0, 0, 0, true},    {233, 0, 0, 0, false}, {58, 58, 58, 58, true},
        {58, 58, 58, 59, false}, {256, 0, 0, 0, false}, {0, 0, 0, 300, false},
    };
    for (const Case& c : cases) {
        Page page;
        page.window.编辑框开机码.set_content(tokens(c.on));
        page.window.编辑框关机码.set_content(tokens(c.off));
        page.window.编辑框视频码.set_content(tokens(c.video));
        page.window.编辑框电脑码.set_content(tokens(c.computer));
        on_write_serial_codes(page.context);
        const int total = c.on + c.off + c.video + c.computer;
        if (c.sent) {
            ASSERT_EQ(page.sender.sends.size(), 1u) << total;
            EXPECT_EQ(page.sender.sends[0].data.size(), static_cast<std::size_t>(28 + total));
            EXPECT_EQ(page.sender.sends[0].data[4], static_cast<std::uint8_t>(23 + total));
            EXPECT_EQ(page.window.标签状态.caption(), "");
        } else {
            EXPECT_TRUE(page.sender.sends.empty()) << total;
            EXPECT_EQ(page.window.标签状态.caption(), "投影码过长,未写入");
        }
    }
}

TEST(serial_codes, a_failed_send_is_shown)
{
    Page page;
    page.sender.fail = true;
    on_write_serial_codes(page.context);
    EXPECT_EQ(page.window.标签状态.caption(), "发送失败");
    page.window.标签状态.set_caption("");
    on_read_serial_codes(page.context);
    EXPECT_EQ(page.window.标签状态.caption(), "发送失败");
}

} // namespace
} // namespace zk::present
