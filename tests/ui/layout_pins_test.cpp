// Both windows against rectangles copied by hand from their drawings, so a control moved in the
// layout table is caught here even though the table also builds the window; and no two controls
// a page shows at the same time cover each other.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "support/udp_probe.h"
#include "support/wait.h"
#include "ui/qt/find_window.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {
namespace {

struct Pin
{
    const char* name;
    QRect place; // relative to the parent, or to the tab control for controls on a page
};

QWidget* named(QWidget* window, const char* name)
{
    return window->findChild<QWidget*>(QString::fromUtf8(name));
}

QRect place_of(QWidget* window, QWidget* widget)
{
    QWidget* origin = widget->parentWidget();
    // A page sits in the tab control's stack; its controls are placed from the tab control.
    if (auto* stack = qobject_cast<QStackedWidget*>(origin->parentWidget()))
        origin = stack->parentWidget();
    const QPoint at = widget->mapTo(window, QPoint(0, 0)) - origin->mapTo(window, QPoint(0, 0));
    return QRect(at, widget->size());
}

void expect_pins(QWidget* window, std::initializer_list<Pin> pins)
{
    for (const Pin& pin : pins) {
        SCOPED_TRACE(pin.name);
        QWidget* widget = named(window, pin.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(place_of(window, widget), pin.place);
    }
}

// What a control covers in window coordinates; a label only as far as its text reaches, since
// labels are drawn wider than their words and may reach under the box beside them.
QRect covered(QWidget* window, QWidget* widget)
{
    QRect rect(widget->mapTo(window, QPoint(0, 0)), widget->size());
    if (auto* label = qobject_cast<QLabel*>(widget))
        rect.setWidth(
            std::min(rect.width(), label->fontMetrics().horizontalAdvance(label->text())));
    return rect;
}

// Every pair of named controls shown together, group boxes and tab controls (frames that hold
// others) aside; a shared edge pixel is not an overlap.
void expect_no_overlap(QWidget* window, const view::WindowLayout& layout)
{
    std::vector<std::pair<QString, QRect>> shown;
    for (const view::ControlLayout& entry : layout.controls) {
        if (entry.kind == view::Kind::group || entry.kind == view::Kind::tab ||
            entry.kind == view::Kind::endpoint)
            continue;
        const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        QWidget* widget = window->findChild<QWidget*>(name);
        if (widget && widget->isVisibleTo(window))
            shown.emplace_back(name, covered(window, widget));
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const QRect both = shown[i].second.intersected(shown[j].second);
            EXPECT_FALSE(both.width() > 1 && both.height() > 1)
                << shown[i].first.toStdString() << " covers " << shown[j].first.toStdString();
        }
    }
}

TEST(layout_pins, find_window_controls_sit_where_drawn_and_apart)
{
    AppState state;
    FindWindow window(state, Ports{0, 0, 0, 0});
    window.show();
    expect_pins(&window, {
                             {"按钮刷新", {488, 1, 80, 32}},
                             {"分组框1", {8, 39, 232, 392}},
                             {"编辑框网关", {81, 115, 128, 20}},
                             {"编辑框本机IP", {81, 155, 128, 20}},
                             {"编辑框服务器IP", {89, 234, 128, 20}},
                             {"编辑框远程端口", {89, 277, 128, 20}},
                             {"按钮设置中控", {16, 342, 200, 32}},
                             {"列表框中控IP", {248, 39, 320, 384}},
                         });
    expect_no_overlap(&window, view::find_window_layout());
}

TEST(layout_pins, settings_window_controls_sit_where_drawn_and_apart_on_every_page)
{
    SettingsWindow window("127.0.0.1", Ports{0, 0, 0, 9});
    window.show();
    const std::initializer_list<Pin> pages[] = {
        {
            {"选择夹1", {3, 8, 728, 392}},
            {"标签状态", {8, 416, 720, 24}},
            {"编辑框系统音量", {87, 40, 60, 32}},
            {"按钮写中控ID", {629, 40, 80, 32}},
            {"编辑框幕布时间", {414, 64, 200, 20}},
        },
        {
            {"编辑框开机码", {166, 83, 488, 24}},
            {"按钮写串口码", {567, 336, 104, 32}},
        },
        {
            {"标签卡状态", {237, 160, 176, 24}},
            {"按钮添加指纹", {523, 280, 80, 32}},
        },
    };
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("选择夹1"));
    for (int page = 0; page < tabs->count(); ++page) {
        SCOPED_TRACE(page);
        tabs->setCurrentIndex(page);
        test::settle(std::chrono::milliseconds(20));
        expect_pins(&window, pages[page]);
        expect_no_overlap(&window, view::settings_window_layout());
    }
}

} // namespace
} // namespace zk::ui
