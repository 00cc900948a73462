// The real settings window against the simulated controller over loopback: what an operator
// sees on the page "授权管理" when the controller answers as it should, and what the status line
// says when answers are lost or late.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "sim/command_face.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

sim::CommandFaceOptions simulated_controller(const sim::FaultOptions& faults = {})
{
    sim::CommandFaceOptions options;
    options.bind_address = "127.0.0.1";
    options.hs3_port = 0;
    options.model.card_at_reader = 1234567;
    options.model.step_delay_ms = 60;
    options.faults = faults;
    return options;
}

class settings_window_sim : public ::testing::Test
{
protected:
    explicit settings_window_sim(const sim::FaultOptions& faults = {})
        : controller(simulated_controller(faults), sim::ControllerState{}, {})
    {}

    QString text(const char* name) const
    {
        if (auto* edit = window.findChild<QLineEdit*>(QString::fromUtf8(name))) return edit->text();
        return window.findChild<QLabel*>(QString::fromUtf8(name))->text();
    }
    bool shows(const char* name, const QString& expected)
    {
        return test::wait_until([&] { return text(name) == expected; }, std::chrono::seconds(5));
    }
    void click(const char* button)
    {
        QTest::mouseClick(window.findChild<QPushButton*>(QString::fromUtf8(button)),
                          Qt::LeftButton);
    }
    void show_page(int page)
    {
        window.findChild<QTabWidget*>(QStringLiteral("选择夹1"))->setCurrentIndex(page);
    }

    sim::CommandFace controller;
    SettingsWindow window{"127.0.0.1", Ports{0, 0, 0, controller.port()}};
};

TEST_F(settings_window_sim, counts_appear_when_the_page_is_shown)
{
    window.show();
    show_page(2);
    EXPECT_TRUE(shows("标签卡数量", QStringLiteral("已登记卡数量：0")));
    EXPECT_TRUE(shows("标签指纹数量", QStringLiteral("已登记指纹数量:0")));
}

TEST_F(settings_window_sim, a_registered_card_is_found_and_a_deleted_one_is_not)
{
    window.show();
    show_page(2);
    click("按钮读卡");
    ASSERT_TRUE(shows("编辑框卡号", QStringLiteral("1234567")));
    EXPECT_EQ(text("标签卡状态"), QStringLiteral("卡号读出成功"));
    click("按钮写卡");
    EXPECT_TRUE(shows("标签卡状态", QStringLiteral("卡号登记成功")));
    click("按钮写卡");
    EXPECT_TRUE(shows("标签卡状态", QStringLiteral("卡号已存在")));
    click("按钮查看");
    EXPECT_TRUE(shows("标签卡状态", QStringLiteral("找到卡号:1234567")));
    click("按钮删卡");
    EXPECT_TRUE(shows("标签卡状态", QStringLiteral("删除卡号:1234567")));
    click("按钮查看");
    EXPECT_TRUE(shows("标签卡状态", QStringLiteral("未登记卡号:1234567")));
    EXPECT_TRUE(controller.state().cards.empty());
}

TEST_F(settings_window_sim, enrolment_shows_each_step_in_order_and_the_count_follows)
{
    window.show();
    show_page(2);
    click("按钮添加指纹");
    QStringList seen{text("编辑框指纹")};
    test::wait_until([&] {
        if (seen.back() != text("编辑框指纹")) seen.append(text("编辑框指纹"));
        return seen.back() == QStringLiteral("录入指纹成功");
    });
    EXPECT_EQ(
        seen,
        (QStringList{QStringLiteral("请输入指纹"), QStringLiteral("第一次录入成功,再次输入"),
                     QStringLiteral("第二次录入成功,再次输入"),
                     QStringLiteral("第三次录入成功,再次输入"), QStringLiteral("录入指纹成功")}));
    show_page(0);
    show_page(2);
    EXPECT_TRUE(shows("标签指纹数量", QStringLiteral("已登记指纹数量:1")));
}

// Nothing is sent again when an answer is lost or late, but the operator is told, and a late
// answer is still shown.
const QString no_answer = QStringLiteral("中控无应答");

sim::FaultOptions with_faults(double loss, int delay_ms)
{
    sim::FaultOptions faults;
    faults.loss = loss;
    faults.delay_ms = delay_ms;
    return faults;
}

TEST_F(settings_window_sim, an_answer_in_time_is_not_followed_by_a_notice)
{
    window.show();
    click("按钮读系统音量");
    ASSERT_TRUE(shows("标签状态", QStringLiteral("系统音量读出成功")));
    test::settle(std::chrono::milliseconds(2500));
    EXPECT_EQ(text("标签状态"), QStringLiteral("系统音量读出成功"));
}

class settings_window_losing_answers : public settings_window_sim
{
protected:
    settings_window_losing_answers() : settings_window_sim(with_faults(1.0, 0)) {}
};

TEST_F(settings_window_losing_answers, tell_it_in_the_status_and_for_cards_on_their_page)
{
    window.show();
    click("按钮读系统音量");
    EXPECT_TRUE(shows("标签状态", no_answer));
    window.findChild<QLabel*>(QStringLiteral("标签状态"))->clear();
    show_page(2); // asks for the card count, a card request
    EXPECT_TRUE(shows("标签卡状态", no_answer));
    EXPECT_EQ(text("标签状态"), no_answer);
}

class settings_window_late_answers : public settings_window_sim
{
protected:
    settings_window_late_answers() : settings_window_sim(with_faults(0.0, 2600)) {}
};

TEST_F(settings_window_late_answers, still_fill_the_controls_after_the_notice)
{
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("编辑框系统音量"))->clear();
    click("按钮读系统音量");
    ASSERT_TRUE(shows("标签状态", no_answer));
    EXPECT_TRUE(shows("标签状态", QStringLiteral("系统音量读出成功")));
    EXPECT_FALSE(text("编辑框系统音量").isEmpty());
}

} // namespace
} // namespace zk::ui
