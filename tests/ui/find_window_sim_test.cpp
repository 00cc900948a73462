// The real find window against fifty simulated network modules over loopback.
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "sim/network_face.h"
#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_texts.h"

namespace zk::ui {
namespace {

namespace fs = std::filesystem;
using sim::Ipv4;

// Interface 0 keeps broadcasts on the default route, which loops them back to the simulator.
class TwoAdapters final : public AdapterSource
{
public:
    std::vector<Adapter> list() override
    {
        return {{"first 127.0.0.1", 0, "127.0.0.1"}, {"second 127.0.0.2", 0, "127.0.0.2"}};
    }
};

class find_window_sim : public ::testing::Test
{
protected:
    find_window_sim()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        options.count = 50;
        options.config_port = 0;
        options.reply_to_sender = true;
    }
    ~find_window_sim() override
    {
        test::close_message_boxes();
        fs::remove_all(dir);
    }

    void click(const char* name)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

    void pick_entry(int row)
    {
        auto* list = window->findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
        // Entries reach the widget a moment after the list counts them.
        ASSERT_TRUE(test::wait_until([&] { return list->count() > row; }));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // Searches, picks the fourth entry and waits for its parameters.
    void read_fourth_module()
    {
        click("按钮查找IP");
        ASSERT_TRUE(
            test::wait_until([&] { return window->view().列表框中控IP.item_count() == 50; }));
        pick_entry(3);
        ASSERT_TRUE(
            test::wait_until([&] { return window->view().编辑框中控IP.content() == "10.20.0.4"; }));
    }

    fs::path dir = fs::temp_directory_path() / "zk_find_window_sim";
    AppState state;
    TwoAdapters adapters;
    sim::NetworkFaceOptions options;
    sim::NetworkModel model = sim::make_network_model(50, options.mac_base, {10, 20, 0, 1});
    std::unique_ptr<sim::NetworkFace> face;
    std::unique_ptr<FindWindow> window;

    void open(sim::FaultOptions faults = {})
    {
        face = std::make_unique<sim::NetworkFace>(model, options, faults);
        ASSERT_TRUE(face->is_bound());
        window = std::make_unique<FindWindow>(state, Ports{0, face->local_port(), 0, 0},
                                              FindSetup{dir, dir / "user", &adapters});
        window->show();
    }

    // The same modules on the same port, from now on with `faults`.
    void restart_modules(sim::FaultOptions faults)
    {
        options.config_port = face->local_port();
        face.reset();
        face = std::make_unique<sim::NetworkFace>(model, options, faults);
        ASSERT_TRUE(face->is_bound());
    }
};

TEST_F(find_window_sim, lists_fifty_modules_reads_any_of_them_and_writes_new_parameters)
{
    open();
    FindView& view = window->view();
    click("按钮查找IP");
    ASSERT_TRUE(test::wait_until([&] { return view.列表框中控IP.item_count() == 50; }));
    test::settle();
    EXPECT_EQ(view.列表框中控IP.item_count(), 50);
    EXPECT_EQ(view.列表框中控IP.item_text(0), "MAC:84:C2:E4:0:0:1 IP:10.20.0.1");
    EXPECT_EQ(view.列表框中控IP.item_text(49), "MAC:84:C2:E4:0:0:32 IP:10.20.0.50");

    for (int row : {0, 37, 49}) {
        SCOPED_TRACE(row);
        pick_entry(row);
        const std::string ip = "10.20.0." + std::to_string(row + 1);
        ASSERT_TRUE(test::wait_until([&] { return view.编辑框中控IP.content() == ip; }));
        EXPECT_EQ(view.编辑框子网掩码.content(), "255.255.255.0");
        EXPECT_EQ(view.编辑框网关.content(), "10.20.0.1");
        EXPECT_EQ(view.编辑框服务器IP.content(), "10.20.0.100");
        EXPECT_EQ(view.编辑框远程端口.content(), "16006");
        EXPECT_FALSE(view.编辑框本机IP.content().empty());
    }

    view.编辑框中控IP.set_content("10.20.1.99");
    view.编辑框网关.set_content("10.20.1.1");
    view.编辑框服务器IP.set_content("10.20.1.5");
    view.编辑框远程端口.set_content("16010");
    click("按钮设置IP");
    ASSERT_TRUE(test::wait_until([] {
        return test::open_message_texts().contains(QStringLiteral("信息：|IP参数设置成功"));
    }));
    const sim::ModuleSettings& written = model.modules[49];
    EXPECT_EQ(written.ip, (Ipv4{10, 20, 1, 99}));
    EXPECT_EQ(written.gateway, (Ipv4{10, 20, 1, 1}));
    EXPECT_EQ(written.destination_ip, (Ipv4{10, 20, 1, 5}));
    EXPECT_EQ(written.destination_port, 16010);
    EXPECT_EQ(written.mode, 3);
    EXPECT_EQ(written.baud, 115200u);
    EXPECT_EQ(model.modules[48].ip, (Ipv4{10, 20, 0, 49})); // the others untouched
    // The list shows the acknowledged address at once, without a new search.
    auto* list = window->findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
    EXPECT_EQ(list->item(49)->text(), QStringLiteral("MAC:84:C2:E4:0:0:32 IP:10.20.1.99"));
    EXPECT_EQ(list->item(48)->text(), QStringLiteral("MAC:84:C2:E4:0:0:31 IP:10.20.0.49"));
}

TEST_F(find_window_sim, a_bad_field_is_refused_and_the_module_keeps_its_address)
{
    open();
    ASSERT_NO_FATAL_FAILURE(read_fourth_module());
    window->view().编辑框中控IP.set_content("10.20.0.300");
    click("按钮设置IP");
    test::settle();
    EXPECT_EQ(test::open_message_texts(), QStringList{QStringLiteral("信息：|中控IP格式错误")});
    EXPECT_EQ(model.modules[3].ip, (Ipv4{10, 20, 0, 4}));
}

TEST_F(find_window_sim, the_operator_pick_of_an_adapter_is_remembered)
{
    open();
    auto* combo = window->findChild<QComboBox*>(QStringLiteral("组合框网卡列表"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_FALSE(fs::exists(dir / "system.ini"));
    QTest::keyClick(combo, Qt::Key_Down); // the operator moves to the second adapter
    EXPECT_EQ(combo->currentIndex(), 1);
    std::ifstream in(dir / "system.ini", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, "[\xCD\xF8\xBF\xA8\xC1\xD0\xB1\xED]\r\n\xD1\xA1\xD4\xF1\xCF\xEE=1\r\n");
}

TEST_F(find_window_sim, parameters_the_module_would_refuse_are_not_sent)
{
    open();
    ASSERT_NO_FATAL_FAILURE(read_fourth_module());
    window->view().编辑框网关.set_content("10.20.9.1"); // outside the module's subnet
    click("按钮设置IP");
    ASSERT_TRUE(test::wait_until([] {
        return test::open_message_texts().contains(
            QStringLiteral("信息：|中控会拒绝这些IP参数,未发送: gateway outside the subnet"));
    }));
    EXPECT_EQ(test::open_message_texts().size(), 1);
    EXPECT_EQ(model.modules[3].gateway, (Ipv4{10, 20, 0, 1}));
}

TEST_F(find_window_sim, picking_the_selected_entry_again_reads_the_controller_again)
{
    open();
    click("按钮查找IP");
    auto* list = window->findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
    ASSERT_TRUE(test::wait_until([&] { return list->count() == 50; }));
    pick_entry(3);
    ASSERT_TRUE(
        test::wait_until([&] { return window->view().编辑框网关.content() == "10.20.0.1"; }));
    window->view().编辑框网关.set_content("");
    pick_entry(3);
    EXPECT_TRUE(
        test::wait_until([&] { return window->view().编辑框网关.content() == "10.20.0.1"; }));
    EXPECT_EQ(window->view().编辑框中控IP.content(), "10.20.0.4");
}

// Nobody answers, or too late: the operator is told, in Chinese, over the window; answers that
// come in time bring no notice, and late ones are still listed.
sim::FaultOptions losing_every_answer()
{
    sim::FaultOptions faults;
    faults.loss = 1.0;
    return faults;
}

bool box_open(const QString& caption_and_text)
{
    return test::wait_until([&] { return test::open_message_texts().contains(caption_and_text); },
                            std::chrono::seconds(5));
}

const QString none_found = QStringLiteral("信息：|未找到中控，请检查网卡选择和防火墙");

TEST_F(find_window_sim, a_search_nobody_answers_is_told_in_a_chinese_box_over_the_window)
{
    ASSERT_TRUE(install_qt_chinese_texts());
    open(losing_every_answer());
    click("按钮查找IP");
    ASSERT_TRUE(box_open(none_found));
    test::screenshot_with_boxes(window.get(), QStringLiteral("notice-find-none-found.png"));
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), window.get());
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
}

TEST_F(find_window_sim, an_unacknowledged_write_is_told_and_answered_requests_are_not)
{
    install_qt_chinese_texts();
    open();
    click("按钮查找IP");
    ASSERT_TRUE(test::wait_until([&] { return window->view().列表框中控IP.item_count() == 50; }));
    pick_entry(1);
    ASSERT_TRUE(
        test::wait_until([&] { return window->view().编辑框中控IP.content() == "10.20.0.2"; }));
    test::settle(std::chrono::milliseconds(3200));
    EXPECT_TRUE(test::open_message_texts().isEmpty());

    restart_modules(losing_every_answer());
    click("按钮设置IP");
    ASSERT_TRUE(box_open(QStringLiteral("信息：|中控无应答，IP参数未确认")));
    test::screenshot_with_boxes(window.get(), QStringLiteral("notice-find-write-unconfirmed.png"));
}

TEST_F(find_window_sim, search_replies_after_the_notice_are_still_listed)
{
    sim::FaultOptions late;
    late.delay_ms = 3400;
    open(late);
    click("按钮查找IP");
    ASSERT_TRUE(box_open(none_found));
    EXPECT_TRUE(test::wait_until([&] { return window->view().列表框中控IP.item_count() == 50; }));
}

} // namespace
} // namespace zk::ui
