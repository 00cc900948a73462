// zkgui_drive.exe: drives a running zkconfig.exe from another process under the same Wine
// server, as an operator would, and prints what each step saw.
//   zkgui_drive flow ADDRESS COUNT SILENT   search through the adapter with ADDRESS (COUNT
//       controllers answer), write one controller's network parameters, read and write its
//       volume, register a card; then a search through the adapter with SILENT, where nobody
//       answers, must be told within 4 s. Closes the program at the end.
//   zkgui_drive shots ADDRESS FOLDER   pictures of the find window after a search and of the
//       three settings pages after their values were read, as BMP files in FOLDER.
// Exits 0 when every step saw what it waited for, 1 with the failed step otherwise.
#include <cstdio>
#include <string>
#include <thread>

#include "e2e/win32_capture.h"
#include "e2e/win32_remote.h"
#include "present/find/find_handlers.h"
#include "present/find/find_watch.h"
#include "ui/win32/wide_text.h"

namespace zk::drive {
namespace {

constexpr Millis start_limit{60000};
constexpr Millis answer_limit{3000};
// A search nobody answers must be told within this.
constexpr Millis notice_limit{4000};

void step(const std::string& what)
{
    std::printf("zkgui: %s\n", what.c_str());
    std::fflush(stdout);
}

RemoteWindow open_find_window(std::string_view address)
{
    RemoteWindow find(wait_for_window(L"ZkWindow", "查找中控IP", start_limit),
                      view::find_window_layout());
    // A port held by another program would be told at once, over the window.
    std::this_thread::sleep_for(Millis(300));
    if (!message_boxes().empty()) throw Failure("at start:" + open_messages());
    find.pick_item_ending("组合框网卡列表", " " + std::string(address));
    step("find window open, adapter " + find.text("组合框网卡列表"));
    return find;
}

void search(const RemoteWindow& find, std::size_t count)
{
    find.click("按钮查找IP");
    wait_until(answer_limit, std::to_string(count) + " search answers",
               [&] { return find.lines("列表框中控IP").size() >= count; });
    const std::vector<std::string> lines = find.lines("列表框中控IP");
    if (lines.size() != count) throw Failure(std::to_string(lines.size()) + " lines listed");
    step("search listed " + std::to_string(lines.size()) + " controllers:");
    for (const std::string& line : lines)
        std::printf("    %s\n", line.c_str());
}

// Picks a line and waits until the controller's parameters are read into the boxes.
void select_controller(const RemoteWindow& find, int line)
{
    find.set_text("编辑框中控IP", "");
    find.pick_line("列表框中控IP", line);
    wait_until(answer_limit, "the selected controller's parameters",
               [&] { return !find.text("编辑框中控IP").empty(); });
}

// Writes a new gateway and reads it back from the controller.
void write_network_parameters(const RemoteWindow& find)
{
    select_controller(find, 1);
    const std::string address = find.text("编辑框中控IP");
    const std::string gateway = address.substr(0, address.rfind('.')) + ".254";
    find.set_text("编辑框网关", gateway);
    find.click("按钮设置IP");
    close_message(present::msg_write_done, answer_limit);
    step("network parameters of " + address + " written: " + std::string(present::msg_write_done));
    find.set_text("编辑框网关", "");
    select_controller(find, 1);
    find.wait_text("编辑框网关", gateway, answer_limit);
    step("read back: gateway " + gateway);
}

RemoteWindow open_settings(const RemoteWindow& find)
{
    find.click("按钮设置中控");
    RemoteWindow settings(wait_for_window(L"ZkWindow", "VARDEN57中控设置", answer_limit),
                          view::settings_window_layout());
    step("settings window open");
    return settings;
}

void volume_and_card(const RemoteWindow& settings)
{
    settings.set_text("编辑框系统音量", "17");
    settings.click("按钮写系统音量");
    settings.wait_text("标签状态", "系统音量写入成功", answer_limit);
    settings.set_text("编辑框系统音量", "");
    settings.click("按钮读系统音量");
    settings.wait_text("标签状态", "系统音量读出成功", answer_limit);
    settings.wait_text("编辑框系统音量", "17", answer_limit);
    step("volume written and read: " + settings.text("编辑框系统音量"));

    settings.show_page("选择夹1", 2);
    wait_until(answer_limit, "the card count",
               [&] { return settings.text("标签卡数量").starts_with("已登记卡数量："); });
    settings.set_text("编辑框卡号", "3000123");
    settings.click("按钮写卡");
    settings.wait_text("标签卡状态", "卡号登记成功", answer_limit);
    settings.click("按钮查看");
    settings.wait_text("标签卡状态", "找到卡号:3000123", answer_limit);
    step("card 3000123 registered and found");
}

void silent_search(const RemoteWindow& find, std::string_view address)
{
    find.pick_item_ending("组合框网卡列表", " " + std::string(address));
    find.click("按钮查找IP");
    const Millis took = close_message(present::msg_none_found, notice_limit);
    if (!find.lines("列表框中控IP").empty()) throw Failure("lines listed with nobody answering");
    step("search through " + std::string(address) + ": \"" + std::string(present::msg_none_found) +
         "\" after " + std::to_string(took.count()) + " ms");
}

void flow(std::string_view address, std::size_t count, std::string_view silent)
{
    const RemoteWindow find = open_find_window(address);
    search(find, count);
    write_network_parameters(find);
    {
        const RemoteWindow settings = open_settings(find);
        volume_and_card(settings);
        settings.close();
        wait_gone(settings.handle(), "settings window", answer_limit);
    }
    silent_search(find, silent);
    find.close();
    wait_gone(find.handle(), "find window", answer_limit);
    step("program closed");
}

void picture(HWND window, const std::filesystem::path& file)
{
    // Time to paint what the last answer changed.
    std::this_thread::sleep_for(Millis(500));
    save_window_picture(window, file);
    step("saved " + file.filename().string());
}

// The settings pages as an operator sees them after reading the controller: its values, a
// projector of the library picked, a card registered.
void picture_settings(const RemoteWindow& settings, const std::filesystem::path& folder)
{
    for (const char* read : {"按钮读系统音量", "按钮读中控ID", "按钮读刷卡开机", "按钮读时间"}) {
        settings.click(read);
        std::this_thread::sleep_for(Millis(200));
    }
    picture(settings.handle(), folder / "windows-settings-1-basic.bmp");
    settings.show_page("选择夹1", 1);
    settings.click("按钮读串口码");
    settings.wait_text("标签状态", "投影码读出成功", answer_limit);
    settings.pick_item_ending("组合框投影机型号", "ESC/VP21");
    picture(settings.handle(), folder / "windows-settings-2-codes.bmp");
    settings.show_page("选择夹1", 2);
    settings.set_text("编辑框卡号", "3000123");
    settings.click("按钮写卡");
    settings.wait_text("标签卡状态", "卡号登记成功", answer_limit);
    picture(settings.handle(), folder / "windows-settings-3-cards.bmp");
}

void shots(std::string_view address, const std::filesystem::path& folder)
{
    const RemoteWindow find = open_find_window(address);
    search(find, 5);
    picture(find.handle(), folder / "windows-find-window.bmp");
    select_controller(find, 0);
    const RemoteWindow settings = open_settings(find);
    picture_settings(settings, folder);
    settings.close();
    find.close();
}

int run(int count, wchar_t** arguments)
{
    const std::wstring command = count > 1 ? arguments[1] : L"";
    if (command == L"flow" && count == 5) {
        flow(win32::narrow(arguments[2]), std::stoul(arguments[3]), win32::narrow(arguments[4]));
        return 0;
    }
    if (command == L"shots" && count == 4) {
        shots(win32::narrow(arguments[2]), arguments[3]);
        return 0;
    }
    std::fprintf(stderr, "usage: zkgui_drive flow ADDRESS COUNT SILENT_ADDRESS\n"
                         "       zkgui_drive shots ADDRESS FOLDER\n");
    return 2;
}

} // namespace
} // namespace zk::drive

int wmain(int count, wchar_t** arguments)
{
    try {
        return zk::drive::run(count, arguments);
    } catch (const std::exception& failure) {
        std::printf("zkgui: FAILED: %s\n", failure.what());
        return 1;
    }
}
