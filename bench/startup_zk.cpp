// zkconfig's own start-up (the steps of its main) up to the find window's first paint.
// Usage: startup_zk LAUNCH_TIME_NS   Prints: MS PEAK_KIB
#include <QApplication>
#include <cstdlib>

#include "bench/startup_shown.h"
#include "present/app_state.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_dispatcher.h"

int main(int argc, char** argv)
{
    const long long launched = argc > 1 ? std::atoll(argv[1]) : 0;
    QApplication app(argc, argv);
    zk::QtDispatcher dispatcher;
    QApplication::setApplicationName(QStringLiteral("zkconfig"));
    QApplication::setWindowIcon(zk::ui::app_icon());

    zk::AppState state;
    zk::ui::FindWindow find_window(state, zk::Ports{});
    bench::FirstPaint paint(&find_window, launched);
    find_window.show();
    return QApplication::exec();
}
