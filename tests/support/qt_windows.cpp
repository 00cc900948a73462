#include "support/qt_windows.h"

#include <QCoreApplication>

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

void close_message_boxes()
{
    for (QMessageBox* box : open_boxes())
        box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace zk::test
