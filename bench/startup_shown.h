#pragma once
// Start-up figures of a window program: from a wall-clock time the launcher took just before
// starting it (nanoseconds, argv[1]) to the window's first paint, and the peak memory by then.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace bench {

// Peak resident memory of this process so far, in KiB.
inline long peak_memory_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Prints "MS KIB" at the window's first paint, then ends the event loop.
class FirstPaint final : public QObject
{
public:
    FirstPaint(QWidget* window, long long launched_ns) : launched_ns_(launched_ns)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            const double ms =
                static_cast<double>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() -
                    launched_ns_) /
                1e6;
            std::printf("%.1f %ld\n", ms, peak_memory_kib());
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    long long launched_ns_;
    bool seen_ = false;
};

} // namespace bench
