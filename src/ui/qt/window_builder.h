#pragma once
// Builds a window's widgets from its layout table. Every widget's object name is its name in the
// table, so the view, the bindings and the tests all find controls by the same string.
#include <QWidget>
#include <string_view>

#include "view/layout.h"

class QTabWidget;

namespace zk::ui {

// The widgets of one built window, looked up by layout name.
class BuiltControls
{
public:
    explicit BuiltControls(QWidget* window) : window_(window) {}

    // The widget named `name`; a missing or mistyped name is a programming error and aborts.
    template <class W> W* get(std::string_view name) const
    {
        W* widget = window_->findChild<W*>(
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        Q_ASSERT_X(widget, "BuiltControls::get", name.data());
        if (!widget)
            qFatal("layout has no control named %.*s", static_cast<int>(name.size()), name.data());
        return widget;
    }

private:
    QWidget* window_;
};

// Creates every control of `layout` inside `window`, sets the title, the fixed frame without a
// maximise button, the client size and the keyboard tab order.
BuiltControls build_window(QWidget* window, const view::WindowLayout& layout);

// Moves the window to the centre of its screen.
void centre_on_screen(QWidget* window);

} // namespace zk::ui
