#pragma once
// Finding what the program shows: top-level windows and open message boxes.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QWidget>

namespace zk::test {

// "caption|text" of every message box now open, in no particular order.
QStringList open_message_texts();

// Closes every open message box.
void close_message_boxes();

// When ZK_E2E_SCREENSHOTS names a directory: saves `window` there as `file`, with every open
// message box drawn over its centre, as the operator sees them. Nothing otherwise.
void screenshot_with_boxes(QWidget* window, const QString& file);

// The visible top-level window of type W, or nullptr.
template <class W> W* visible_window()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = dynamic_cast<W*>(widget); window && window->isVisible()) return window;
    }
    return nullptr;
}

} // namespace zk::test
