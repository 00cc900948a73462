// Drives the real zkconfig windows, with the shipped fixed ports, against a zksim running on
// another host of the segment. The steps build on each other and run in the order written.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_dispatcher.h"
#include "ui/qt/qt_texts.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

using namespace std::chrono_literals;

int env_int(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

const int controllers = env_int("ZK_E2E_COUNT", 1);
const QString pc_ip = qEnvironmentVariable("ZK_E2E_PC_IP", QStringLiteral("10.77.0.1"));
const QString shots = qEnvironmentVariable("ZK_E2E_SCREENSHOTS");
const QString segment_b_ip = qEnvironmentVariable("ZK_E2E_SEGMENT_B_IP");

template <class W> W* child(QWidget* window, const char* name)
{
    W* widget = window->findChild<W*>(QString::fromUtf8(name));
    if (!widget) ADD_FAILURE() << "no control named " << name;
    return widget;
}

void click(QWidget* window, const char* button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

QString text_of(QWidget* window, const char* name)
{
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromUtf8(name))) return edit->text();
    return child<QLabel>(window, name)->text();
}

void set_text(QWidget* window, const char* name, const QString& text)
{
    child<QLineEdit>(window, name)->setText(text);
}

// Waits for the control to show exactly `expected`.
bool shows(QWidget* window,
           const char* name,
           const QString& expected,
           std::chrono::milliseconds limit = 3s)
{
    return test::wait_until([&] { return text_of(window, name) == expected; }, limit);
}

void screenshot(QWidget* window, const QString& file)
{
    if (shots.isEmpty()) return;
    QDir().mkpath(shots);
    window->grab().save(shots + QStringLiteral("/") + file);
}

// system.ini in a directory of its own, so every run starts on the first adapter.
struct Session
{
    QTemporaryDir program_dir;
    AppState state;
    FindWindow window{state, Ports{},
                      FindSetup{program_dir.path().toStdString(),
                                program_dir.filePath(QStringLiteral("user")).toStdString()}};
};

Session* session = nullptr;

QWidget* find()
{
    return &session->window;
}

SettingsWindow* open_settings()
{
    click(find(), "按钮设置中控");
    SettingsWindow* settings = test::visible_window<SettingsWindow>();
    EXPECT_NE(settings, nullptr);
    return settings;
}

void close_settings(SettingsWindow* settings)
{
    settings->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(two_hosts, a_second_instance_is_told_that_the_port_is_taken)
{
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZK_E2E_MODE"), QStringLiteral("second"));
    second.setProcessEnvironment(env);
    second.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
}

TEST(two_hosts, a_search_lists_every_controller)
{
    click(find(), "按钮查找IP");
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    ASSERT_TRUE(test::wait_until([&] { return list->count() >= controllers; }));
    test::settle(300ms);
    EXPECT_EQ(list->count(), controllers);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_TRUE(list->item(i)->text().contains(QStringLiteral(" IP:10.77.0.")));
    screenshot(find(), QStringLiteral("find-window.png"));
}

// The operator moves the adapter list one item down or up, as with the arrow keys.
void step_adapter(Qt::Key key)
{
    QTest::keyClick(child<QComboBox>(find(), "组合框网卡列表"), key);
}

QStringList search_entries()
{
    click(find(), "按钮查找IP");
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    test::wait_until([&] { return list->count() > 0; });
    test::settle(500ms);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

TEST(two_hosts, the_search_follows_the_chosen_adapter)
{
    auto* adapters = child<QComboBox>(find(), "组合框网卡列表");
    ASSERT_EQ(adapters->count(), 3);
    EXPECT_TRUE(adapters->itemText(0).endsWith(QStringLiteral(" ") + pc_ip));
    EXPECT_TRUE(adapters->itemText(1).endsWith(QStringLiteral(" (未连接)")));
    EXPECT_TRUE(adapters->itemText(2).endsWith(QStringLiteral(".1")));
    ASSERT_EQ(adapters->currentIndex(), 0);

    step_adapter(Qt::Key_Down); // the adapter without a cable
    click(find(), "按钮查找IP");
    EXPECT_TRUE(test::wait_until(
        [] { return test::open_message_texts().contains(QStringLiteral("信息：|发送失败")); }));
    test::close_message_boxes();

    step_adapter(Qt::Key_Down);
    EXPECT_EQ(search_entries(),
              QStringList{QStringLiteral("MAC:84:C2:E4:0:B:1 IP:") + segment_b_ip});

    step_adapter(Qt::Key_Up);
    step_adapter(Qt::Key_Up);
    const QStringList back = search_entries();
    EXPECT_EQ(back.size(), controllers);
    for (const QString& entry : back)
        EXPECT_TRUE(entry.contains(QStringLiteral(" IP:10.77.0."))) << entry.toStdString();
    EXPECT_TRUE(test::open_message_texts().isEmpty());
}

TEST(two_hosts, selecting_a_controller_reads_its_parameters)
{
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    ASSERT_GE(list->count(), 1);
    const QString entry = list->item(0)->text();
    const QString ip = entry.mid(entry.indexOf(QStringLiteral(" IP:")) + 4);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    ASSERT_TRUE(shows(find(), "编辑框中控IP", ip));
    EXPECT_FALSE(text_of(find(), "编辑框子网掩码").isEmpty());
    EXPECT_FALSE(text_of(find(), "编辑框本机IP").isEmpty());
    EXPECT_NE(text_of(find(), "编辑框本机IP"), QStringLiteral("127.0.1.1"));
}

TEST(two_hosts, settings_get_no_answer_while_the_server_ip_points_elsewhere)
{
    ASSERT_NE(text_of(find(), "编辑框服务器IP"), pc_ip);
    SettingsWindow* settings = open_settings();
    ASSERT_NE(settings, nullptr);
    click(settings, "按钮读系统音量");
    test::settle(1500ms);
    EXPECT_EQ(text_of(settings, "标签状态"), QString());
    // Nothing is sent again, but the operator learns that nothing came back.
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("中控无应答")));
    screenshot(settings, QStringLiteral("notice-settings-no-answer.png"));
    close_settings(settings);
}

TEST(two_hosts, writing_the_network_parameters_is_acknowledged)
{
    set_text(find(), "编辑框服务器IP", pc_ip);
    set_text(find(), "编辑框远程端口", QStringLiteral("16006"));
    set_text(find(), "编辑框网关", QStringLiteral("10.77.0.254"));
    click(find(), "按钮设置IP");
    ASSERT_TRUE(test::wait_until([] {
        return test::open_message_texts().contains(QStringLiteral("信息：|IP参数设置成功"));
    }));
    test::close_message_boxes();
    // Picking the entry again reads back what the controller now holds.
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    set_text(find(), "编辑框网关", QString());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(shows(find(), "编辑框网关", QStringLiteral("10.77.0.254")));
    EXPECT_EQ(text_of(find(), "编辑框服务器IP"), pc_ip);
    EXPECT_EQ(text_of(find(), "编辑框远程端口"), QStringLiteral("16006"));
}

TEST(two_hosts, every_button_of_page_one_gets_its_answer)
{
    SettingsWindow* settings = open_settings();
    ASSERT_NE(settings, nullptr);
    set_text(settings, "编辑框系统音量", QStringLiteral("7"));
    click(settings, "按钮写系统音量");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统音量写入成功")));
    set_text(settings, "编辑框系统音量", QString());
    click(settings, "按钮读系统音量");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统音量读出成功")));
    EXPECT_EQ(text_of(settings, "编辑框系统音量"), QStringLiteral("7"));

    set_text(settings, "编辑框中控ID", QStringLiteral("300"));
    click(settings, "按钮写中控ID");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("中控ID写入成功")));
    set_text(settings, "编辑框中控ID", QString());
    click(settings, "按钮读中控ID");
    EXPECT_TRUE(shows(settings, "编辑框中控ID", QStringLiteral("300")));

    set_text(settings, "编辑框幕布时间", QStringLiteral("30"));
    set_text(settings, "编辑框投影机预热时间", QStringLiteral("60"));
    set_text(settings, "编辑框投影机散热时间", QStringLiteral("90"));
    click(settings, "按钮写时间");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统时间写入成功")));
    for (const char* box : {"编辑框幕布时间", "编辑框投影机预热时间", "编辑框投影机散热时间"})
        set_text(settings, box, QString());
    click(settings, "按钮读时间");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统时间读出成功")));
    EXPECT_EQ(text_of(settings, "编辑框幕布时间"), QStringLiteral("30"));
    EXPECT_EQ(text_of(settings, "编辑框投影机预热时间"), QStringLiteral("60"));
    EXPECT_EQ(text_of(settings, "编辑框投影机散热时间"), QStringLiteral("90"));

    child<QCheckBox>(settings, "选择框刷卡开机")->setChecked(true);
    click(settings, "按钮写刷卡开机");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("刷卡模式设置成功")));
    child<QCheckBox>(settings, "选择框刷卡开机")->setChecked(false);
    click(settings, "按钮读刷卡开机");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("刷卡模式")));
    EXPECT_TRUE(child<QCheckBox>(settings, "选择框刷卡开机")->isChecked());
    screenshot(settings, QStringLiteral("settings-1-basic.png"));
    close_settings(settings);
}

TEST(two_hosts, serial_codes_are_written_and_read_back)
{
    SettingsWindow* settings = open_settings();
    ASSERT_NE(settings, nullptr);
    child<QTabWidget>(settings, "选择夹1")->setCurrentIndex(1);
    child<QComboBox>(settings, "组合框波特率")->setCurrentIndex(4); // 9600
    child<QComboBox>(settings, "组合框校验方式")->setCurrentIndex(2);
    set_text(settings, "编辑框开机码", QStringLiteral("7e 30 30 0D"));
    set_text(settings, "编辑框关机码", QStringLiteral("AA 01"));
    click(settings, "按钮写串口码");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("投影码写入成功")));
    child<QComboBox>(settings, "组合框校验方式")->setCurrentIndex(0);
    click(settings, "按钮读串口码");
    EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("投影码读出成功")));
    EXPECT_TRUE(shows(settings, "编辑框开机码", QStringLiteral("7E 30 30 0D ")));
    EXPECT_EQ(text_of(settings, "编辑框关机码"), QStringLiteral("AA 01 "));
    EXPECT_EQ(text_of(settings, "编辑框视频码"), QString());
    EXPECT_EQ(child<QComboBox>(settings, "组合框波特率")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(child<QComboBox>(settings, "组合框校验方式")->currentIndex(), 2);
    screenshot(settings, QStringLiteral("settings-2-codes.png"));
    close_settings(settings);
}

TEST(two_hosts, cards_fingerprints_and_authorisation)
{
    SettingsWindow* settings = open_settings();
    ASSERT_NE(settings, nullptr);
    auto* tabs = child<QTabWidget>(settings, "选择夹1");
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(test::wait_until([&] {
        return text_of(settings, "标签卡数量").startsWith(QStringLiteral("已登记卡数量：")) &&
               text_of(settings, "标签指纹数量").startsWith(QStringLiteral("已登记指纹数量:"));
    }));

    click(settings, "按钮读卡");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("卡号读出成功")));
    const QString card = text_of(settings, "编辑框卡号");
    EXPECT_FALSE(card.isEmpty());
    click(settings, "按钮写卡");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("卡号登记成功")));
    click(settings, "按钮查看");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("找到卡号:") + card));
    click(settings, "按钮删卡");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("删除卡号:") + card));
    click(settings, "按钮查看");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("未登记卡号:") + card));

    click(settings, "按钮添加指纹");
    EXPECT_EQ(text_of(settings, "编辑框指纹"), QStringLiteral("请输入指纹"));
    EXPECT_TRUE(shows(settings, "编辑框指纹", QStringLiteral("录入指纹成功"), 10s));
    click(settings, "按钮删除指纹");
    EXPECT_TRUE(shows(settings, "编辑框指纹", QStringLiteral("删除指纹成功")));
    click(settings, "按钮暂停授权");
    EXPECT_TRUE(shows(settings, "编辑框授权", QStringLiteral("暂停授权检测")));
    click(settings, "按钮恢复授权");
    EXPECT_TRUE(shows(settings, "编辑框授权", QStringLiteral("恢复授权检测")));

    // The counts follow the page each time it is shown again.
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(shows(settings, "标签指纹数量", QStringLiteral("已登记指纹数量:0")));
    click(settings, "按钮读卡");
    EXPECT_TRUE(shows(settings, "标签卡状态", QStringLiteral("卡号读出成功")));
    screenshot(settings, QStringLiteral("settings-3-authorisation.png"));
    close_settings(settings);
}

// The second copy of the program, started while the first holds the fixed ports.
int run_second_instance()
{
    AppState state;
    FindWindow window(state, Ports{});
    window.show();
    const QString expected = QStringLiteral("信息：|端口60000已被占用，无法收发数据");
    if (!test::wait_until([&] { return test::open_message_texts().contains(expected); })) {
        qWarning("second instance: no port-taken message; shown: %s",
                 qPrintable(test::open_message_texts().join(QStringLiteral("; "))));
        return 1;
    }
    return 0;
}

// Selects the list line of `ip` and waits for its block to be read.
void select_controller(const QString& ip)
{
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->text().endsWith(QStringLiteral(" IP:") + ip)) continue;
        set_text(find(), "编辑框中控IP", QString());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(i)).center());
        ASSERT_TRUE(shows(find(), "编辑框中控IP", ip));
        return;
    }
    FAIL() << "no line for " << ip.toStdString();
}

// What an installer does in the demo, for each controller in turn: point it at this PC, then
// write its volume; each must then read back its own. One shared settings state, or answers
// from the wrong address, would show here.
TEST(two_hosts, every_controller_of_the_segment_keeps_its_own_settings)
{
    click(find(), "按钮查找IP");
    auto* list = child<QListWidget>(find(), "列表框中控IP");
    ASSERT_TRUE(test::wait_until([&] { return list->count() >= controllers; }));
    std::vector<QString> addresses;
    for (int i = 0; i < controllers; ++i)
        addresses.push_back(QStringLiteral("10.77.0.%1").arg(i + 2));
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        SCOPED_TRACE(addresses[i].toStdString());
        select_controller(addresses[i]);
        set_text(find(), "编辑框服务器IP", pc_ip);
        set_text(find(), "编辑框远程端口", QStringLiteral("16006"));
        click(find(), "按钮设置IP");
        ASSERT_TRUE(test::wait_until([] {
            return test::open_message_texts().contains(QStringLiteral("信息：|IP参数设置成功"));
        }));
        test::close_message_boxes();
        SettingsWindow* settings = open_settings();
        ASSERT_NE(settings, nullptr);
        set_text(settings, "编辑框系统音量", QString::number(20 + i));
        click(settings, "按钮写系统音量");
        EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统音量写入成功")));
        close_settings(settings);
    }
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        SCOPED_TRACE(addresses[i].toStdString());
        select_controller(addresses[i]);
        SettingsWindow* settings = open_settings();
        ASSERT_NE(settings, nullptr);
        click(settings, "按钮读系统音量");
        EXPECT_TRUE(shows(settings, "标签状态", QStringLiteral("系统音量读出成功")));
        EXPECT_EQ(text_of(settings, "编辑框系统音量"), QString::number(20 + i));
        close_settings(settings);
    }
}

} // namespace
} // namespace zk::ui

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zk::QtDispatcher dispatcher;
    zk::ui::install_qt_chinese_texts();
    if (qEnvironmentVariable("ZK_E2E_MODE") == QStringLiteral("second"))
        return zk::ui::run_second_instance();
    ::testing::InitGoogleTest(&argc, argv);
    zk::ui::Session session;
    session.window.show();
    zk::ui::session = &session;
    const int result = RUN_ALL_TESTS();
    zk::ui::session = nullptr;
    return result;
}
