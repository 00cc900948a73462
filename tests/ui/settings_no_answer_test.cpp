// The settings window against a simulated controller that loses or delays its answers: the
// operator is told when nothing comes back, is not told when answers come, and still sees a late
// answer.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "sim/command_face.h"
#include "support/qt_udp_probe.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

using namespace std::chrono_literals;

const QString no_answer = QStringLiteral("中控无应答");

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

} // namespace
} // namespace zk::ui
