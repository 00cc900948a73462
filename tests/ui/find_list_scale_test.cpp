// The found-controller list at campus scale: additions wait in the adapter and reach the widget
// together, and a burst of answers over loopback is listed whole.
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "sim/network_face.h"
#include "support/qt_windows.h"
#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/find_window.h"
#include "ui/qt/widget_controls.h"

namespace zk::ui {
namespace {

namespace fs = std::filesystem;

TEST(list_box_batching, waiting_items_count_as_items_and_reach_the_widget_together)
{
    QListWidget widget;
    QtListBox list(&widget);
    EXPECT_TRUE(widget.uniformItemSizes());
    for (const char* text : {"a", "b", "c"})
        list.add_item(text);
    EXPECT_EQ(list.item_count(), 3);
    EXPECT_EQ(list.item_text(1), "b");
    EXPECT_EQ(list.item_text(3), "");
    EXPECT_EQ(widget.count(), 0); // no layout per addition
    ASSERT_TRUE(test::wait_until([&] { return widget.count() == 3; }));
    EXPECT_EQ(widget.item(2)->text(), QStringLiteral("c"));

    // A selection or deletion of an item still waiting takes effect on the widget.
    list.add_item("d");
    list.set_selection(3);
    EXPECT_EQ(widget.currentRow(), 3);
    EXPECT_EQ(list.selection(), 3);
    list.add_item("e");
    EXPECT_TRUE(list.delete_item(4));
    list.add_item("f");
    list.delete_all_items(); // also what still waits
    test::settle();
    EXPECT_EQ(widget.count(), 0);
    EXPECT_EQ(list.item_count(), 0);
}

// Interface 0 keeps broadcasts on the default route.
class LoopbackAdapter final : public AdapterSource
{
public:
    std::vector<Adapter> list() override { return {{"loopback 127.0.0.1", 0, "127.0.0.1"}}; }
};

TEST(find_window_scale, a_burst_of_two_thousand_answers_is_listed_whole_and_in_step)
{
    const fs::path dir = fs::temp_directory_path() / "zk_find_list_scale";
    fs::remove_all(dir);
    constexpr int count = 2000;
    sim::NetworkFaceOptions options;
    options.config_port = 0;
    options.reply_to_sender = true;
    sim::NetworkModel model = sim::make_network_model(count, options.mac_base, {10, 30, 0, 1});
    sim::NetworkFace face(model, options);
    ASSERT_TRUE(face.is_bound());
    AppState state;
    LoopbackAdapter adapters;
    FindWindow window(state, Ports{0, face.local_port(), 0, 0},
                      FindSetup{dir, dir / "u", &adapters});
    window.show();

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮查找IP")), Qt::LeftButton);
    auto* rows = window.findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
    ASSERT_TRUE(test::wait_until([&] { return rows->count() >= count; }));
    test::settle();
    ASSERT_EQ(rows->count(), count);
    ASSERT_EQ(state.found_macs.size(), static_cast<std::size_t>(count));
    std::set<QString> distinct;
    for (int i = 0; i < count; ++i)
        distinct.insert(rows->item(i)->text());
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(count));
    // Row and found MAC agree at both ends.
    EXPECT_EQ(rows->item(0)->text(), QStringLiteral("MAC:84:C2:E4:0:0:1 IP:10.30.0.1"));
    EXPECT_EQ(rows->item(count - 1)->text(), QStringLiteral("MAC:84:C2:E4:0:7:D0 IP:10.30.7.208"));
    EXPECT_EQ(state.found_macs.back(), (discovery::Mac{0x84, 0xC2, 0xE4, 0x00, 0x07, 0xD0}));
    test::close_message_boxes();
    fs::remove_all(dir);
}

} // namespace
} // namespace zk::ui
