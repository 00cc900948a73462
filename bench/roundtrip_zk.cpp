// The settings round trip as the operator sees it: a click on 按钮读系统音量 until 标签状态
// shows the answer, against a controller at the given address.
// Usage: roundtrip_zk CONTROLLER_ADDRESS TIMES
// Prints: MEDIAN_US MIN_US MAX_US
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "bench/measure.h"
#include "bench/summary.h"
#include "ui/qt/qt_dispatcher.h"
#include "ui/qt/settings_window.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: roundtrip_zk CONTROLLER_ADDRESS TIMES\n");
        return 2;
    }
    const int times = std::atoi(argv[2]);
    QApplication app(argc, argv);
    zk::QtDispatcher dispatcher;
    zk::ui::SettingsWindow window(argv[1], zk::Ports{});
    window.show();
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("按钮读系统音量"));
    auto* status = window.findChild<QLabel*>(QStringLiteral("标签状态"));
    std::vector<double> samples;
    for (int i = 0; i < times; ++i) {
        status->clear();
        const bench::Mark start;
        button->click();
        const bench::Mark give_up_after = start;
        while (status->text().isEmpty() && bench::Mark::now().ms_since(give_up_after) < 1000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (status->text().isEmpty()) {
            std::fprintf(stderr, "roundtrip_zk: no answer\n");
            return 1;
        }
        samples.push_back(bench::Mark::now().ms_since(start) * 1000.0);
    }
    bench::print_summary(samples);
    return 0;
}
