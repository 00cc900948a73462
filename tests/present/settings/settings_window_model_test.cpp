#include "present/settings/settings_window_model.h"

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "base/file_read.h"
#include "present/port_report.h"
#include "present/settings/serial_codes_library.h"
#include "support/action_table.h"
#include "support/manual_dispatcher.h"
#include "support/memory_controls.h"
#include "support/recording_link.h"

namespace zk::present {
namespace {

namespace fs = std::filesystem;

// Answers each question with the next path queued; counts the questions.
class QueuedFileDialogs final : public FileDialogs
{
public:
    fs::path open_file(std::string_view) override { return next(); }
    fs::path save_file(std::string_view, std::string_view suggested) override
    {
        suggested_ = suggested;
        return next();
    }

    std::vector<fs::path> answers;
    int asked = 0;
    std::string suggested_;

private:
    fs::path next()
    {
        ++asked;
        if (answers.empty()) return {};
        fs::path path = answers.front();
        answers.erase(answers.begin());
        return path;
    }
};

class settings_window_model : public ::testing::Test
{
protected:
    settings_window_model()
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~settings_window_model() override { fs::remove_all(folder); }

    void run(std::string_view control)
    {
        for (const view::ControlAction& action : model.actions()) {
            if (action.control == control) return action.run();
        }
        FAIL() << "no action for " << control;
    }
    // Picks one of the two file items at the end of 组合框投影机型号.
    void pick_file_item(std::string_view item)
    {
        ItemList& models = model.view().组合框投影机型号;
        models.set_selection(models.item_count() - (item == item_load_file ? 2 : 1));
        ASSERT_EQ(models.selected_text(), item);
        run("组合框投影机型号");
    }
    std::string status() { return model.view().标签状态.caption(); }
    void fill_codes()
    {
        model.view().组合框波特率.select_by_text("9600");
        model.view().组合框校验方式.set_selection(0);
        for (EditBox* box : {&model.view().编辑框开机码, &model.view().编辑框关机码,
                             &model.view().编辑框视频码, &model.view().编辑框电脑码})
            box->set_content("50 57 52 0D");
    }

    fs::path folder = fs::temp_directory_path() / "zk_settings_window_model";
    test::ManualDispatcher dispatcher;
    test::MemoryControlFactory factory;
    view::ControlSet controls{view::settings_window_layout(), factory};
    test::RecordingMessageBoxes boxes;
    QueuedFileDialogs files;
    test::RecordingLinks links;
    SettingsWindowModel model{
        {controls, boxes, files, dispatcher, links.opener(), folder}, "10.0.0.9", Ports{}};
};

TEST_F(settings_window_model, a_room_file_saved_loads_back_and_each_refusal_is_told)
{
    // Incomplete codes: told, and no dialog asked.
    pick_file_item(item_save_file);
    EXPECT_EQ(files.asked, 0);
    EXPECT_FALSE(status().empty());

    fill_codes();
    pick_file_item(item_save_file); // cancelled
    EXPECT_EQ(files.asked, 1);
    EXPECT_EQ(files.suggested_, "room-codes.json");
    EXPECT_TRUE(fs::is_empty(folder));

    const fs::path room = folder / utf8_path("教室 1.json");
    files.answers = {room};
    pick_file_item(item_save_file);
    EXPECT_EQ(status(), "串口码已保存到 " + path_text(room));
    ASSERT_TRUE(fs::exists(room));

    model.view().编辑框开机码.set_content("");
    files.answers = {room};
    pick_file_item(item_load_file);
    EXPECT_EQ(model.view().编辑框开机码.content(), "50 57 52 0D");
    EXPECT_NE(status().find("教室 1.json"), std::string::npos) << status();

    std::ofstream(folder / "broken.json") << "{";
    files.answers = {folder / "broken.json"};
    model.view().编辑框开机码.set_content("");
    pick_file_item(item_load_file);
    EXPECT_EQ(model.view().编辑框开机码.content(), "");
    EXPECT_NE(status().find("broken.json"), std::string::npos) << status();
    EXPECT_TRUE(links.by_port.at(Ports{}.settings_local)->recorder.sends.empty());
}

TEST_F(settings_window_model, a_taken_port_is_told_once_after_the_first_show)
{
    test::RecordingLinks taken;
    taken.bound = false;
    SettingsWindowModel window{
        {controls, boxes, files, dispatcher, taken.opener(), folder}, "10.0.0.9", Ports{}};
    window.shown();
    EXPECT_TRUE(boxes.shown.empty()) << "only once the window has painted";
    dispatcher.advance_to(dispatcher.now + std::chrono::milliseconds(1));
    window.shown();
    dispatcher.advance_to(dispatcher.now + std::chrono::milliseconds(1));
    EXPECT_EQ(boxes.shown, std::vector<std::string>{port_taken_message(Ports{}.settings_local)});

    model.shown(); // bound: nothing to tell
    dispatcher.advance_to(dispatcher.now + std::chrono::milliseconds(1));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(settings_window_model, actions_name_controls_of_the_layout_that_raise_an_event)
{
    test::expect_actions_cover(model.actions(), view::settings_window_layout());
}

} // namespace
} // namespace zk::present
