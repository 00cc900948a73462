// zkconfig's receive-and-list path on the real ports: the find window searches and its list is
// counted until every expected answer is a row, or until rows stop coming.
// Usage: discovery_zk COUNT RECEIVE_BUFFER_ASKED QUIET_MS
// Prints: rows TIME_MS CPU_MS GRANTED_BUFFER (time and CPU from the click to the last new row).
#include <QAbstractItemModel>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>

#include "bench/discovery_run.h"
#include "bench/measure.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_dispatcher.h"

namespace {

// Interface 0: broadcasts leave by the default route, which the benchmark's namespace has.
class DefaultRoute final : public zk::AdapterSource
{
public:
    std::vector<zk::Adapter> list() override { return {{"default route", 0, "0.0.0.0"}}; }
};

} // namespace

int main(int argc, char** argv)
{
    const std::optional<bench::DiscoveryRun> run = bench::discovery_run(argc, argv);
    if (!run) return 2;
    const int expected = run->expected;
    const int asked = run->asked;
    const int quiet_ms = run->quiet_ms;
    QApplication app(argc, argv);
    zk::QtDispatcher dispatcher;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zk_bench_" + std::to_string(getpid()));
    DefaultRoute adapters;
    zk::AppState state;
    zk::ui::FindWindow window(state, zk::Ports{},
                              zk::ui::FindSetup{dir, dir / "u", &adapters, asked});
    window.show();
    QApplication::processEvents();

    auto* list = window.findChild<QListWidget*>(QStringLiteral("列表框中控IP"));
    bench::Mark start;
    bench::Mark last = start;
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &app, &QApplication::quit);
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        last = bench::Mark::now();
        if (list->count() >= expected)
            QApplication::quit();
        else
            quiet.start(quiet_ms);
    });
    start = bench::Mark::now();
    last = start;
    window.findChild<QPushButton*>(QStringLiteral("按钮查找IP"))->click();
    quiet.start(quiet_ms + 2000); // the first answer may take a moment
    QApplication::exec();
    bench::print_discovery(list->count(), last.ms_since(start), last.cpu_ms_since(start),
                           window.endpoint().receive_buffer_size());
    std::filesystem::remove_all(dir);
    return 0;
}
