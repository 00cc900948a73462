#include "ui/qt/find_window.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

// Every port left to the system, so tests never collide with a running program.
constexpr Ports free_ports{0, 0, 0, 0};

class find_window : public ::testing::Test
{
protected:
    void TearDown() override
    {
        test::close_message_boxes();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (dynamic_cast<SettingsWindow*>(widget)) widget->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    AppState state;
};

TEST_F(find_window, builds_every_control_of_the_layout_by_name_caption_and_place)
{
    FindWindow window(state, free_ports);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("查找中控IP"));
    for (const view::ControlLayout& entry : view::find_window_layout().controls) {
        const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        SCOPED_TRACE(name.toStdString());
        if (entry.kind == view::Kind::endpoint) {
            EXPECT_EQ(window.findChild<QWidget*>(name), nullptr);
            continue;
        }
        QWidget* widget = window.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr);
        const QString text = QString::fromUtf8(entry.text.data(), qsizetype(entry.text.size()));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), text);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), text);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(group->title(), text);
        }
        EXPECT_EQ(widget->pos(), QPoint(entry.place.x, entry.place.y));
        EXPECT_EQ(widget->width(), entry.place.width);
        // Whole inside its parent, so nothing is cut off.
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()));
    }
}

TEST_F(find_window, has_a_fixed_frame_without_maximise_and_an_icon_in_several_sizes)
{
    FindWindow window(state, free_ports);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_GE(window.windowIcon().availableSizes().size(), 6);
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(128, 128)));
}

TEST_F(find_window, tab_key_walks_the_inputs_in_layout_order_and_skips_labels)
{
    FindWindow window(state, free_ports);
    window.show();
    QStringList expected;
    for (const view::ControlLayout& entry : view::find_window_layout().controls) {
        if (entry.kind != view::Kind::label && entry.kind != view::Kind::group &&
            entry.kind != view::Kind::endpoint)
            expected.append(QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size())));
    }
    QWidget* first = window.findChild<QWidget*>(expected.front());
    first->setFocus();
    QStringList walked;
    QWidget* current = first;
    for (int i = 0; i < expected.size(); ++i) {
        walked.append(current->objectName());
        current = current->nextInFocusChain();
        while (current->focusPolicy() == Qt::NoFocus || current->objectName().isEmpty())
            current = current->nextInFocusChain();
    }
    EXPECT_EQ(walked, expected);
}

TEST_F(find_window, remote_port_box_takes_digits_and_minus_typed_or_pasted_and_nothing_else)
{
    FindWindow window(state, free_ports);
    window.show();
    auto* port = window.findChild<QLineEdit*>(QStringLiteral("编辑框远程端口"));
    QTest::keyClicks(port, QStringLiteral("16a0-0 6x"));
    EXPECT_EQ(port->text(), QStringLiteral("160-06"));
    for (const QString& pasted : {QStringLiteral("ab"), QStringLiteral("1")}) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(port, Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(port->text(), QStringLiteral("160-061"));
    QTest::keyClick(port, Qt::Key_Backspace);
    EXPECT_EQ(port->text(), QStringLiteral("160-06"));

    auto* ip = window.findChild<QLineEdit*>(QStringLiteral("编辑框中控IP"));
    QTest::keyClicks(ip, QStringLiteral("host-a.b"));
    EXPECT_EQ(ip->text(), QStringLiteral("host-a.b"));
}

TEST_F(find_window, starts_with_a_zero_mac_and_a_zero_block)
{
    state.selected_mac = {1, 2, 3};
    state.held_reply = discovery::ConfigReply{};
    FindWindow window(state, free_ports);
    EXPECT_EQ(state.selected_mac, discovery::Mac{});
    EXPECT_FALSE(state.held_reply);
}

TEST_F(find_window, a_short_address_is_refused_with_a_message)
{
    FindWindow window(state, free_ports);
    window.show();
    window.view().编辑框中控IP.set_content("1.2.3.4");
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮设置中控")),
                      Qt::LeftButton);
    EXPECT_EQ(test::open_message_texts(), QStringList{QStringLiteral("信息：|请输入中控IP")});
    EXPECT_EQ(test::visible_window<SettingsWindow>(), nullptr);
}

TEST_F(find_window, an_address_opens_a_fresh_modal_settings_window_each_time)
{
    FindWindow window(state, free_ports);
    window.show();
    auto* open = window.findChild<QPushButton*>(QStringLiteral("按钮设置中控"));
    window.view().编辑框中控IP.set_content("  10.0.0.1  ");
    QTest::mouseClick(open, Qt::LeftButton);
    auto* first = test::visible_window<SettingsWindow>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("VARDEN57中控设置"));
    EXPECT_EQ(first->controller_address(), "10.0.0.1");
    EXPECT_EQ(state.controller_address, "10.0.0.1");
    EXPECT_EQ(QApplication::activeModalWidget(), first);
    EXPECT_TRUE(test::open_message_texts().isEmpty());

    // The find window takes no input now, but its endpoint still lists a search reply.
    test::UdpProbe module;
    Bytes reply(285, 0);
    const std::string_view flag = "CH9121_CFG_FLAG";
    std::copy(flag.begin(), flag.end(), reply.begin());
    reply[16] = 0x84;
    reply[17] = 0x84;
    reply[30] = 10;
    module.send_to(static_cast<quint16>(window.endpoint().local_port()), reply);
    ASSERT_TRUE(test::wait_until([&] { return window.view().列表框中控IP.item_count() == 1; }));
    EXPECT_EQ(window.view().列表框中控IP.item_text(0), "MAC:84:0:0:0:0:0 IP:10.0.0.0");

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(test::visible_window<SettingsWindow>(), nullptr);

    window.view().编辑框中控IP.set_content("192.168.1.77");
    QTest::mouseClick(open, Qt::LeftButton);
    auto* second = test::visible_window<SettingsWindow>();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->controller_address(), "192.168.1.77");
}

TEST_F(find_window, a_taken_port_is_reported_once_over_the_shown_window)
{
    const DatagramEndpoint holder(0);
    ASSERT_TRUE(holder.is_bound());
    Ports ports = free_ports;
    ports.find_local = holder.local_port();
    FindWindow window(state, ports);
    EXPECT_FALSE(window.endpoint().is_bound());
    test::settle();
    EXPECT_TRUE(test::open_message_texts().isEmpty()); // not behind a window yet to come
    window.show();
    const QString expected =
        QStringLiteral("信息：|端口%1已被占用，无法收发数据").arg(ports.find_local);
    ASSERT_TRUE(
        test::wait_until([&] { return test::open_message_texts() == QStringList{expected}; }));
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    window.hide();
    window.show();
    test::settle();
    EXPECT_EQ(test::open_message_texts(), QStringList{expected});
    EXPECT_FALSE(window.endpoint().send("127.0.0.1", 9, Bytes{1}));
}

} // namespace
} // namespace zk::ui
