// Writes the program's icon as PNG files in the hicolor theme layout (DIR/NxN/apps/zkconfig.png),
// so the menu shows the same picture as the window. Usage: zk_render_icons DIR SIZE...
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/app_icon.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zk_render_icons DIR SIZE...\n");
        return 2;
    }
    const QIcon icon = zk::ui::app_icon();
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QPixmap pixmap = icon.pixmap(size, size);
        if (size <= 0 || pixmap.width() != size || !QDir().mkpath(dir) ||
            !pixmap.save(dir + QStringLiteral("/zkconfig.png"), "PNG")) {
            std::fprintf(stderr, "zk_render_icons: cannot write the %s pixel icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
