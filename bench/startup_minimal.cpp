// The reference start-up: a bare Qt window showing the find window's captions in one label.
// Usage: startup_minimal LAUNCH_TIME_NS   Prints: MS PEAK_KIB
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>

#include "bench/startup_shown.h"
#include "view/layout.h"

int main(int argc, char** argv)
{
    const long long launched = argc > 1 ? std::atoll(argv[1]) : 0;
    QApplication app(argc, argv);
    const zk::view::WindowLayout& find = zk::view::find_window_layout();
    QString text = QString::fromUtf8(find.title.data(), static_cast<qsizetype>(find.title.size()));
    for (const zk::view::ControlLayout& control : find.controls)
        text += '\n' +
                QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(text));
    bench::FirstPaint paint(&window, launched);
    window.show();
    return QApplication::exec();
}
