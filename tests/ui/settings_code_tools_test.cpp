#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

// The window and every open drop-down list over it, as the operator sees them, into
// $ZK_E2E_SCREENSHOTS when set (scripts/screenshots.sh and the README's pictures).
void screenshot_with_popup(QWidget* window, QComboBox* open_combo, const QString& file)
{
    const QString dir = qEnvironmentVariable("ZK_E2E_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QPixmap shot = window->grab();
    QWidget* popup = open_combo->view()->window();
    QPainter painter(&shot);
    painter.drawPixmap(window->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    painter.end();
    shot.save(dir + QStringLiteral("/") + file);
}

class settings_code_tools : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.show();
        window.findChild<QTabWidget*>(QStringLiteral("选择夹1"))->setCurrentIndex(1);
        test::settle(std::chrono::milliseconds(20));
    }

    template <class W> W* get(const char* name)
    {
        return window.findChild<W*>(QString::fromUtf8(name));
    }
    QString text(const char* box) { return get<QLineEdit>(box)->text(); }

    test::UdpProbe probe;
    SettingsWindow window{"127.0.0.1", Ports{0, 0, 0, probe.port()}};
};

TEST_F(settings_code_tools, picking_a_library_entry_fills_the_six_controls_and_sends_nothing)
{
    auto* library = get<QComboBox>("组合框投影机型号");
    EXPECT_TRUE(get<QLabel>("标签状态")->text().isEmpty()) << "the shipped library loads cleanly";
    ASSERT_GE(library->count(), 3);
    EXPECT_EQ(library->itemText(library->count() - 2), QStringLiteral("从文件载入…"));
    EXPECT_EQ(library->itemText(library->count() - 1), QStringLiteral("保存到文件…"));

    library->showPopup();
    test::settle(std::chrono::milliseconds(50));
    screenshot_with_popup(&window, library, QStringLiteral("settings-2-library.png"));
    QAbstractItemView* list = library->view();
    const int epson = library->findText(QStringLiteral("Epson ESC/VP21"));
    ASSERT_GE(epson, 0);
    const QRect row = list->visualRect(list->model()->index(epson, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    test::settle(std::chrono::milliseconds(50));

    EXPECT_EQ(get<QComboBox>("组合框波特率")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(get<QComboBox>("组合框校验方式")->currentText(), QStringLiteral("无校验"));
    EXPECT_EQ(text("编辑框开机码"), QStringLiteral("50 57 52 20 4F 4E 0D"));
    EXPECT_EQ(text("编辑框关机码"), QStringLiteral("50 57 52 20 4F 46 46 0D"));
    EXPECT_EQ(text("编辑框视频码"), QStringLiteral("53 4F 55 52 43 45 20 34 31 0D"));
    EXPECT_EQ(text("编辑框电脑码"), QStringLiteral("53 4F 55 52 43 45 20 31 31 0D"));
    EXPECT_EQ(get<QLabel>("标签状态")->text(),
              QStringLiteral("已填入Epson ESC/VP21的串口码,请按写串口码写入中控"));
    test::settle(std::chrono::milliseconds(50));
    EXPECT_TRUE(probe.received.empty());
}

TEST_F(settings_code_tools, typed_command_text_goes_into_the_chosen_box_and_back)
{
    auto* command = get<QLineEdit>("编辑框命令文本");
    auto* choice = get<QComboBox>("组合框转换码");
    EXPECT_EQ(choice->currentText(), QStringLiteral("开码"));
    QTest::keyClicks(command, QStringLiteral("\\x02ADZZ;POF\\x03"));
    QTest::keyClick(choice, Qt::Key_Down);
    EXPECT_EQ(choice->currentText(), QStringLiteral("关码"));
    QTest::mouseClick(get<QPushButton>("按钮输入"), Qt::LeftButton);
    EXPECT_EQ(text("编辑框关机码"), QStringLiteral("02 41 44 5A 5A 3B 50 4F 46 03"));
    test::screenshot_with_boxes(&window, QStringLiteral("settings-2-converted.png"));

    command->clear();
    QTest::mouseClick(get<QPushButton>("按钮输出"), Qt::LeftButton);
    EXPECT_EQ(command->text(), QStringLiteral("\\x02ADZZ;POF\\x03"));

    QTest::keyClicks(command, QStringLiteral("\\q"));
    QTest::mouseClick(get<QPushButton>("按钮输入"), Qt::LeftButton);
    EXPECT_EQ(text("编辑框关机码"), QStringLiteral("02 41 44 5A 5A 3B 50 4F 46 03"));
    EXPECT_TRUE(get<QLabel>("标签状态")->text().contains(QStringLiteral("\\q")));
    test::settle(std::chrono::milliseconds(50));
    EXPECT_TRUE(probe.received.empty());
}

} // namespace
} // namespace zk::ui
