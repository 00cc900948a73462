#include "ui/qt/settings_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/hex.h"
#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk::ui {
namespace {

using test::from_hex;
using test::to_hex;

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The window on free local ports, talking to a probe that stands in for the controller.
class settings_window : public ::testing::Test
{
protected:
    void TearDown() override { test::close_message_boxes(); }

    template <class W> W* get(const char* name) { return window.findChild<W*>(q(name)); }
    QString status() { return get<QLabel>("标签状态")->text(); }
    void click(const char* name) { QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton); }

    // Hex of every frame the probe has received since the last call.
    std::vector<std::string> take_frames()
    {
        test::settle(std::chrono::milliseconds(50));
        std::vector<std::string> frames;
        for (const Bytes& frame : probe.received)
            frames.push_back(to_hex(frame));
        probe.received.clear();
        return frames;
    }

    test::UdpProbe probe;
    SettingsWindow window{"127.0.0.1", Ports{0, 0, 0, probe.port()}};
};

TEST_F(settings_window, builds_every_control_in_its_place_and_page)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VARDEN57中控设置"));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), QSize(734, 451));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    auto* tabs = get<QTabWidget>("选择夹1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("基本参数"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("投影机码"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("授权管理"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (const view::ControlLayout& entry : view::settings_window_layout().controls) {
        SCOPED_TRACE(std::string(entry.name));
        QWidget* widget = window.findChild<QWidget*>(q(entry.name));
        if (entry.kind == view::Kind::endpoint) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
        if (auto* button = qobject_cast<QPushButton*>(widget)) text = button->text();
        if (auto* check = qobject_cast<QCheckBox*>(widget)) text = check->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) text = group->title();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) text = combo->placeholderText();
        EXPECT_EQ(text, q(entry.text));
        // Places count from the tab control for page controls, from the parent otherwise.
        QWidget* origin = entry.page >= 0 ? tabs : widget->parentWidget();
        EXPECT_EQ(widget->mapTo(window.window(), QPoint(0, 0)) -
                      origin->mapTo(window.window(), QPoint(0, 0)),
                  QPoint(entry.place.x, entry.place.y));
        EXPECT_EQ(widget->width(), entry.place.width);
        if (entry.page >= 0) {
            EXPECT_TRUE(tabs->widget(entry.page)->isAncestorOf(widget));
        }
    }
}

TEST_F(settings_window, page_one_tab_order_runs_row_by_row)
{
    const QStringList expected = {"编辑框系统音量",       "按钮读系统音量",
                                  "按钮写系统音量",       "选择框刷卡开机",
                                  "按钮读刷卡开机",       "按钮写刷卡开机",
                                  "编辑框中控ID",         "按钮读中控ID",
                                  "按钮写中控ID",         "编辑框投影机预热时间",
                                  "编辑框投影机散热时间", "编辑框幕布时间",
                                  "按钮读时间",           "按钮写时间"};
    QStringList order;
    QWidget* widget = get<QWidget>("编辑框系统音量");
    // The chain is a ring; the bound keeps a missing control from looping for ever.
    for (int step = 0; step < 500 && order.size() < expected.size(); ++step) {
        if (expected.contains(widget->objectName())) order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, expected);
}

TEST_F(settings_window, combo_boxes_hold_their_items_and_select_nothing)
{
    const std::pair<const char*, QStringList> combos[] = {
        {"组合框波特率",
         {"0", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "17200",
          "345600"}},
        {"组合框校验方式", {"无校验", "奇校验", "偶校验"}},
    };
    for (const auto& [name, items] : combos) {
        SCOPED_TRACE(name);
        auto* combo = get<QComboBox>(name);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, items);
        EXPECT_EQ(combo->currentIndex(), -1);
        EXPECT_FALSE(combo->isEditable());
    }
}

TEST_F(settings_window, integer_boxes_take_digits_and_minus_however_the_text_arrives)
{
    window.show();
    window.activateWindow();
    for (const char* name : {"编辑框系统音量", "编辑框中控ID", "编辑框投影机预热时间",
                             "编辑框投影机散热时间", "编辑框幕布时间"}) {
        SCOPED_TRACE(name);
        auto* box = get<QLineEdit>(name);
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1a-2.x"));
        QTest::keyClick(box, Qt::Key_B, Qt::AltModifier);
        EXPECT_EQ(box->text(), QStringLiteral("1-2"));
        for (const QString& pasted : {QStringLiteral("b"), QStringLiteral("34")}) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_EQ(box->text(), QStringLiteral("1-234"));
        // What an input method commits, such as a Chinese 五 or a full-width digit.
        for (const QString& committed :
             {QStringLiteral("五"), QStringLiteral("５"), QStringLiteral("5")}) {
            QInputMethodEvent commit;
            commit.setCommitString(committed);
            QCoreApplication::sendEvent(box, &commit);
        }
        EXPECT_EQ(box->text(), QStringLiteral("1-2345"));
    }
    auto* card = get<QLineEdit>("编辑框卡号");
    QTest::keyClicks(card, QStringLiteral("1a"));
    EXPECT_EQ(card->text(), QStringLiteral("1a"));
}

TEST_F(settings_window, labels_show_operator_text_as_it_was_typed)
{
    window.show();
    for (QLabel* label : window.findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    get<QTabWidget>("选择夹1")->setCurrentIndex(1);
    QTest::keyClicks(get<QLineEdit>("编辑框开机码"), QStringLiteral("<u>AB</u>"));
    click("按钮写串口码");
    EXPECT_EQ(status(), QStringLiteral("投影机开码含无效字节:<u>AB</u>"));
    EXPECT_EQ(take_frames(), std::vector<std::string>{});
}

TEST_F(settings_window, spin_arrows_and_inert_controls_send_and_change_nothing)
{
    window.show();
    for (const char* name : {"编辑框系统音量", "编辑框中控ID"}) {
        auto* box = get<QLineEdit>(name);
        const QString before = box->text();
        for (const char* arrow : {"spin_up", "spin_down"}) {
            auto* button = box->findChild<QToolButton*>(QString::fromUtf8(arrow));
            ASSERT_NE(button, nullptr) << name << arrow;
            QTest::mouseClick(button, Qt::LeftButton);
        }
        EXPECT_EQ(box->text(), before);
    }
    get<QTabWidget>("选择夹1")->setCurrentIndex(1);
    click("按钮输入");
    click("按钮输出");
    get<QComboBox>("组合框波特率")->setCurrentIndex(3);
    get<QComboBox>("组合框校验方式")->setCurrentIndex(1);
    get<QTabWidget>("选择夹1")->setCurrentIndex(0);
    click("选择框刷卡开机");
    EXPECT_EQ(take_frames(), std::vector<std::string>{});
    EXPECT_TRUE(status().isEmpty());
}

TEST_F(settings_window, page_one_buttons_put_their_frames_on_the_wire_and_show_the_answers)
{
    window.show();
    get<QLineEdit>("编辑框系统音量")->setText(QStringLiteral("5"));
    get<QLineEdit>("编辑框中控ID")->setText(QStringLiteral("300"));
    get<QLineEdit>("编辑框幕布时间")->setText(QStringLiteral("30"));
    get<QLineEdit>("编辑框投影机预热时间")->setText(QStringLiteral("60"));
    get<QLineEdit>("编辑框投影机散热时间")->setText(QStringLiteral("90"));
    get<QCheckBox>("选择框刷卡开机")->setChecked(true);
    // Each write goes before its read, whose answer then replaces the box the write took.
    const struct
    {
        const char* button;
        const char* frame;  // what the controller must receive
        const char* answer; // what it says back
        const char* status; // what the operator then reads
    } cases[] = {
        {"按钮写系统音量", "48 53 33 FF 07 00 00 A8 C5 01 05 6E",
         "48 53 33 FF 06 00 00 A8 55 01 FA", "系统音量写入成功"},
        {"按钮读系统音量", "48 53 33 FF 06 00 00 A8 00 01 AF",
         "48 53 33 FF 07 00 00 A8 00 01 07 A9", "系统音量读出成功"},
        {"按钮写中控ID", "48 53 33 FF 07 00 00 92 C5 01 2C 7D", "48 53 33 FF 05 00 00 92 55 C2",
         "中控ID写入成功"},
        {"按钮读中控ID", "48 53 33 FF 05 00 00 92 00 97", "48 53 33 FF 07 00 00 92 00 01 2D B9",
         "中控ID读出成功"},
        {"按钮写时间", "48 53 33 FF 09 00 00 41 C5 02 1E 3C 5A F7", "48 53 33 FF 05 00 00 41 55 11",
         "系统时间写入成功"},
        {"按钮读时间", "48 53 33 FF 05 00 00 41 00 44", "48 53 33 FF 09 00 00 41 00 02 0A 0B 0C 47",
         "系统时间读出成功"},
        {"按钮写刷卡开机", "48 53 33 FF 06 00 00 A6 C5 00 65", "48 53 33 FF 05 00 00 A6 55 F6",
         "刷卡模式设置成功"},
        {"按钮读刷卡开机", "48 53 33 FF 05 00 00 A6 00 A3", "48 53 33 FF 06 00 00 A6 00 02 A2",
         "公开模式"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        click(c.button);
        ASSERT_TRUE(probe.wait_for(1));
        EXPECT_EQ(take_frames(), std::vector<std::string>{c.frame});
        probe.send_to(static_cast<quint16>(window.endpoint().local_port()), from_hex(c.answer));
        EXPECT_TRUE(test::wait_until([&] { return status() == QString::fromUtf8(c.status); }))
            << status().toStdString();
    }
    EXPECT_EQ(get<QLineEdit>("编辑框系统音量")->text(), QStringLiteral("7"));
    EXPECT_EQ(get<QLineEdit>("编辑框中控ID")->text(), QStringLiteral("301"));
    EXPECT_EQ(get<QLineEdit>("编辑框幕布时间")->text(), QStringLiteral("10"));
    EXPECT_EQ(get<QLineEdit>("编辑框投影机预热时间")->text(), QStringLiteral("11"));
    EXPECT_EQ(get<QLineEdit>("编辑框投影机散热时间")->text(), QStringLiteral("12"));
    EXPECT_FALSE(get<QCheckBox>("选择框刷卡开机")->isChecked());
}

TEST_F(settings_window, a_number_that_does_not_fit_is_refused_and_nothing_goes_out)
{
    window.show();
    get<QLineEdit>("编辑框系统音量")->setText(QStringLiteral("300"));
    click("按钮写系统音量");
    EXPECT_EQ(status(), QStringLiteral("系统音量超出范围(0-255)"));
    get<QLineEdit>("编辑框中控ID")->setText(QStringLiteral("70000"));
    click("按钮写中控ID");
    EXPECT_EQ(status(), QStringLiteral("中控ID超出范围(0-65535)"));
    EXPECT_EQ(take_frames(), std::vector<std::string>{});
}

TEST_F(settings_window, card_count_answer_asks_for_the_fingerprint_count)
{
    probe.send_to(static_cast<quint16>(window.endpoint().local_port()),
                  from_hex("48 53 33 FF 08 00 00 A5 00 01 00 0C A0"));
    ASSERT_TRUE(probe.wait_for(1));
    EXPECT_EQ(take_frames(), std::vector<std::string>{"48 53 33 FF 05 00 00 A9 00 AC"});
    EXPECT_EQ(get<QLabel>("标签卡数量")->text(), QStringLiteral("已登记卡数量：12"));
}

TEST_F(settings_window, opens_centred_on_its_screen)
{
    window.move(0, 0);
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_LE((window.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

} // namespace
} // namespace zk::ui
