// The windows against simulated controllers that lose or delay their answers: the operator is
// told when nothing comes back, is not told when answers come, and still sees a late answer.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "sim/command_face.h"
#include "sim/network_face.h"
#include "support/qt_udp_probe.h"
#include "support/qt_windows.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_texts.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const QString no_answer = QStringLiteral("中控无应答");
const QString none_found = QStringLiteral("信息：|未找到中控，请检查网卡选择和防火墙");
const QString unconfirmed = QStringLiteral("信息：|中控无应答，IP参数未确认");

sim::FaultOptions losing_every_answer()
{
    sim::FaultOptions faults;
    faults.loss = 1.0;
    return faults;
}

sim::FaultOptions answering_after(int delay_ms)
{
    sim::FaultOptions faults;
    faults.delay_ms = delay_ms;
    return faults;
}

void click(QWidget* window, const char* button)
{
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
}

QString text(QWidget* window, const char* name)
{
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromUtf8(name))) return edit->text();
    return window->findChild<QLabel*>(QString::fromUtf8(name))->text();
}

bool shows(QWidget* window, const char* name, const QString& expected)
{
    return test::wait_until([&] { return text(window, name) == expected; }, 5s);
}

bool box_open(const QString& caption_and_text)
{
    return test::wait_until([&] { return test::open_message_texts().contains(caption_and_text); },
                            5s);
}

// A controller on a free loopback port that answers HS3 frames with the given faults.
struct SettingsAgainst
{
    explicit SettingsAgainst(sim::FaultOptions faults)
        : controller(
              [&] {
                  sim::CommandFaceOptions options;
                  options.bind_address = "127.0.0.1";
                  options.hs3_port = 0;
                  options.faults = faults;
                  return options;
              }(),
              sim::ControllerState{},
              {})
    {
        window.show();
    }

    sim::CommandFace controller;
    SettingsWindow window{"127.0.0.1", Ports{0, 0, 0, controller.port()}};
};

TEST(settings_no_answer, a_lost_answer_is_told_in_the_status_and_a_card_request_also_on_its_page)
{
    SettingsAgainst lossy(losing_every_answer());
    click(&lossy.window, "按钮读系统音量");
    EXPECT_TRUE(shows(&lossy.window, "标签状态", no_answer));
    lossy.window.findChild<QLabel*>(QStringLiteral("标签状态"))->clear();
    // The page asks for the card count, a card request.
    lossy.window.findChild<QTabWidget*>(QStringLiteral("选择夹1"))->setCurrentIndex(2);
    EXPECT_TRUE(shows(&lossy.window, "标签卡状态", no_answer));
    EXPECT_EQ(text(&lossy.window, "标签状态"), no_answer);
}

TEST(settings_no_answer, an_answer_in_time_is_not_followed_by_a_notice)
{
    SettingsAgainst prompt(sim::FaultOptions{});
    click(&prompt.window, "按钮读系统音量");
    ASSERT_TRUE(shows(&prompt.window, "标签状态", QStringLiteral("系统音量读出成功")));
    test::settle(2500ms);
    EXPECT_EQ(text(&prompt.window, "标签状态"), QStringLiteral("系统音量读出成功"));
}

TEST(settings_no_answer, a_late_answer_after_the_notice_still_fills_the_controls)
{
    SettingsAgainst slow(answering_after(2600));
    slow.window.findChild<QLineEdit*>(QStringLiteral("编辑框系统音量"))->clear();
    click(&slow.window, "按钮读系统音量");
    ASSERT_TRUE(shows(&slow.window, "标签状态", no_answer));
    EXPECT_TRUE(shows(&slow.window, "标签状态", QStringLiteral("系统音量读出成功")));
    EXPECT_FALSE(text(&slow.window, "编辑框系统音量").isEmpty());
}

// Network modules on a free loopback port, answering the asker with the given faults.
class find_no_answer : public ::testing::Test
{
protected:
    find_no_answer()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        options.count = 2;
        options.config_port = 0;
        options.reply_to_sender = true;
        install_qt_chinese_texts();
    }
    ~find_no_answer() override
    {
        test::close_message_boxes();
        fs::remove_all(dir);
    }

    class LoopbackAdapter final : public AdapterSource
    {
    public:
        std::vector<Adapter> list() override { return {{"lo 127.0.0.1", 0, "127.0.0.1"}}; }
    };

    // (Re)starts the modules with `faults`, on the port the window already sends to.
    void modules(sim::FaultOptions faults)
    {
        face.reset();
        face = std::make_unique<sim::NetworkFace>(model, options, faults);
        ASSERT_TRUE(face->is_bound());
        options.config_port = face->local_port();
        if (!window) {
            window = std::make_unique<FindWindow>(state, Ports{0, face->local_port(), 0, 0},
                                                  FindSetup{dir, dir / "user", &adapters});
            window->show();
        }
    }

    fs::path dir = fs::temp_directory_path() / "zk_find_no_answer";
    AppState state;
    LoopbackAdapter adapters;
    sim::NetworkFaceOptions options;
    sim::NetworkModel model = sim::make_network_model(2, options.mac_base, {10, 30, 0, 1});
    std::unique_ptr<sim::NetworkFace> face;
    std::unique_ptr<FindWindow> window;
};

TEST_F(find_no_answer, a_search_nobody_answers_is_told_in_a_chinese_box)
{
    modules(losing_every_answer());
    click(window.get(), "按钮查找IP");
    ASSERT_TRUE(box_open(none_found));
    test::screenshot_with_boxes(window.get(), QStringLiteral("notice-find-none-found.png"));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            EXPECT_EQ(box->parentWidget(), window.get());
            EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        }
    }
}

TEST_F(find_no_answer, an_unacknowledged_write_is_told_and_answered_requests_are_not)
{
    modules(sim::FaultOptions{});
    click(window.get(), "按钮查找IP");
    auto* list = window->findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
    ASSERT_TRUE(test::wait_until([&] { return list->count() == 2; }));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_TRUE(
        test::wait_until([&] { return window->view().编辑框中控IP.content() == "10.30.0.2"; }));
    test::settle(3200ms);
    EXPECT_TRUE(test::open_message_texts().isEmpty());

    modules(losing_every_answer());
    click(window.get(), "按钮设置IP");
    ASSERT_TRUE(box_open(unconfirmed));
    test::screenshot_with_boxes(window.get(), QStringLiteral("notice-find-write-unconfirmed.png"));
}

TEST_F(find_no_answer, late_search_replies_after_the_notice_are_still_listed)
{
    modules(answering_after(3400));
    click(window.get(), "按钮查找IP");
    ASSERT_TRUE(box_open(none_found));
    EXPECT_TRUE(test::wait_until([&] { return window->view().列表框中控IP.item_count() == 2; }));
}

} // namespace
} // namespace zk::ui
