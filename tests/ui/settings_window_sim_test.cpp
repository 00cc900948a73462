// The real settings window against the simulated controller over loopback: what an operator
// sees on the page "授权管理" when the controller answers as it should.
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

sim::CommandFaceOptions simulated_controller()
{
    sim::CommandFaceOptions options;
    options.bind_address = "127.0.0.1";
    options.hs3_port = 0;
    options.model.card_at_reader = 1234567;
    options.model.step_delay_ms = 60;
    return options;
}

class settings_window_sim : public ::testing::Test
{
protected:
    QString text(const char* name) const
    {
        if (auto* edit = window.findChild<QLineEdit*>(QString::fromUtf8(name))) return edit->text();
        return window.findChild<QLabel*>(QString::fromUtf8(name))->text();
    }
    bool shows(const char* name, const QString& expected)
    {
        return test::wait_until([&] { return text(name) == expected; });
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

    sim::CommandFace controller{simulated_controller(), sim::ControllerState{}, {}};
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

} // namespace
} // namespace zk::ui
