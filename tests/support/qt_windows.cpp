#include "support/qt_windows.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>

namespace zk::test {

namespace {

QList<QMessageBox*> open_boxes()
{
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

} // namespace

QStringList open_message_texts()
{
    QStringList texts;
    for (QMessageBox* box : open_boxes())
        texts.append(box->windowTitle() + QStringLiteral("|") + box->text());
    return texts;
}

void screenshot_with_boxes(QWidget* window, const QString& file)
{
    const QString dir = qEnvironmentVariable("ZK_E2E_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QPixmap shot = window->grab();
    QPainter painter(&shot);
    for (QMessageBox* box : open_boxes()) {
        const QPixmap over = box->grab();
        painter.drawPixmap((shot.width() - over.width()) / 2, (shot.height() - over.height()) / 2,
                           over);
    }
    painter.end();
    shot.save(dir + QStringLiteral("/") + file);
}

void close_message_boxes()
{
    for (QMessageBox* box : open_boxes())
        box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace zk::test
