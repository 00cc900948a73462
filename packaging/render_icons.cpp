// Draws the program's icon for the places outside the program that show it, so they show the same
// picture as the window:
//   zk_render_icons DIR SIZE...          PNG files in the hicolor theme layout
//                                        (DIR/NxN/apps/zkconfig.png), for the Linux menu
//   zk_render_icons --ico FILE SIZE...   one Windows icon file holding every size, for
//                                        zkconfig.exe, its Start menu entry and its setup program
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/qt/app_icon.h"

namespace {

// The icon at `size` pixels as PNG data; empty when it cannot be drawn at that size.
QByteArray png_of(const QIcon& icon, int size)
{
    const QPixmap pixmap = icon.pixmap(size, size);
    QByteArray data;
    QBuffer buffer(&data);
    if (size <= 0 || pixmap.width() != size || !buffer.open(QIODevice::WriteOnly) ||
        !pixmap.save(&buffer, "PNG"))
        return {};
    return data;
}

void put_le16(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

void put_le32(QByteArray& out, qsizetype value)
{
    put_le16(out, static_cast<int>(value & 0xffff));
    put_le16(out, static_cast<int>((value >> 16) & 0xffff));
}

// An icon file of PNG entries (Windows reads them from Vista on): the directory, one 16-byte
// entry per image (a width or height of 256 is written 0), then the images.
QByteArray ico_file(const std::vector<int>& sizes, const std::vector<QByteArray>& images)
{
    QByteArray out;
    put_le16(out, 0);
    put_le16(out, 1); // an icon, not a cursor
    put_le16(out, static_cast<int>(images.size()));
    qsizetype offset = 6 + 16 * static_cast<qsizetype>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(sizes[i] & 0xff));
        out.append(static_cast<char>(sizes[i] & 0xff));
        out.append(char{0}); // no palette
        out.append(char{0});
        put_le16(out, 1);  // colour planes
        put_le16(out, 32); // bits per pixel
        put_le32(out, images[i].size());
        put_le32(out, offset);
        offset += images[i].size();
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

int write_ico(const QIcon& icon, const QString& path, const std::vector<int>& sizes)
{
    std::vector<QByteArray> images;
    for (int size : sizes) {
        images.push_back(size <= 256 ? png_of(icon, size) : QByteArray());
        if (images.back().isEmpty()) {
            std::fprintf(stderr, "zk_render_icons: cannot draw the %d pixel icon\n", size);
            return 1;
        }
    }
    QFile file(path);
    const QByteArray data = ico_file(sizes, images);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "zk_render_icons: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int write_theme(const QIcon& icon, const QString& root, const std::vector<int>& sizes)
{
    for (int size : sizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QByteArray png = png_of(icon, size);
        QFile file(dir + QStringLiteral("/zkconfig.png"));
        if (png.isEmpty() || !QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly) ||
            file.write(png) != png.size()) {
            std::fprintf(stderr, "zk_render_icons: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const bool ico = argc > 1 && QByteArray(argv[1]) == "--ico";
    const int first_size = ico ? 3 : 2;
    if (argc <= first_size) {
        std::fprintf(stderr, "usage: zk_render_icons DIR SIZE...\n"
                             "       zk_render_icons --ico FILE SIZE...\n");
        return 2;
    }
    std::vector<int> sizes;
    for (int i = first_size; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    const QString target = QString::fromLocal8Bit(argv[first_size - 1]);
    const QIcon icon = zk::ui::app_icon();
    return ico ? write_ico(icon, target, sizes) : write_theme(icon, target, sizes);
}
