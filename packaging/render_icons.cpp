// Draws the program's icon for the places outside the program that show it, so they show the same
// picture as the window:
//   zk_render_icons DIR SIZE...          PNG files in the hicolor theme layout
//                                        (DIR/NxN/apps/zkconfig.png), for the Linux menu
//   zk_render_icons --ico FILE SIZE...   one Windows icon file holding every size, for
//                                        zkconfig.exe, its Start menu entry and its setup program
//   zk_render_icons --check-ico FILE SIZE...  exit 1 unless FILE holds these sizes as drawn now
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
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

std::uint32_t le_at(const QByteArray& data, qsizetype at, int width)
{
    std::uint32_t value = 0;
    for (int i = width; i-- > 0;)
        value = value << 8 | static_cast<std::uint8_t>(data[at + i]);
    return value;
}

// The PNG images of an icon file written by write_ico, in its order; empty when it is not one.
std::vector<QImage> ico_images(const QByteArray& data)
{
    if (data.size() < 6) return {};
    const qsizetype count = le_at(data, 4, 2);
    std::vector<QImage> images;
    for (qsizetype i = 0; i < count && 6 + 16 * (i + 1) <= data.size(); ++i) {
        const qsizetype size = le_at(data, 6 + 16 * i + 8, 4);
        const qsizetype offset = le_at(data, 6 + 16 * i + 12, 4);
        if (offset + size > data.size()) return {};
        images.push_back(QImage::fromData(data.mid(offset, size), "PNG"));
    }
    return images;
}

// Whether two drawings are the same picture: processors round anti-aliased edges differently by
// one step, so each channel may differ by that much.
bool same_picture(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            for (int shift = 0; shift < 32; shift += 8)
                if (std::abs(int(p >> shift & 0xff) - int(q >> shift & 0xff)) > 2) return false;
        }
    return true;
}

int check_ico(const QIcon& icon, const QString& path, const std::vector<int>& sizes)
{
    QFile file(path);
    const std::vector<QImage> kept =
        file.open(QIODevice::ReadOnly) ? ico_images(file.readAll()) : std::vector<QImage>{};
    bool same = kept.size() == sizes.size();
    for (std::size_t i = 0; same && i < sizes.size(); ++i)
        same = same_picture(QImage::fromData(png_of(icon, sizes[i]), "PNG"), kept[i]);
    return same ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const bool check = argc > 1 && QByteArray(argv[1]) == "--check-ico";
    const bool ico = check || (argc > 1 && QByteArray(argv[1]) == "--ico");
    const int first_size = ico ? 3 : 2;
    if (argc <= first_size) {
        std::fprintf(stderr, "usage: zk_render_icons DIR SIZE...\n"
                             "       zk_render_icons --ico FILE SIZE...\n"
                             "       zk_render_icons --check-ico FILE SIZE...\n");
        return 2;
    }
    std::vector<int> sizes;
    for (int i = first_size; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    const QString target = QString::fromLocal8Bit(argv[first_size - 1]);
    const QIcon icon = zk::ui::app_icon();
    if (check) return check_ico(icon, target, sizes);
    return ico ? write_ico(icon, target, sizes) : write_theme(icon, target, sizes);
}
