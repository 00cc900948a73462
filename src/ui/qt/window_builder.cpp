#include "ui/qt/window_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QValidator>

#include "ui/qt/app_icon.h"
#include "ui/qt/widget_controls.h"

namespace zk::ui {

namespace {

// A box's input rule checks every edit the operator makes, however the text arrives: typed with
// any modifier, committed by an input method, or pasted. The program's own texts are not checked.
class InputRuleValidator final : public QValidator
{
public:
    InputRuleValidator(view::Input rule, QObject* parent) : QValidator(parent), rule_(rule) {}

    State validate(QString& input, int&) const override
    {
        return view::accepts_input(rule_, input.toStdString()) ? Acceptable : Invalid;
    }

private:
    view::Input rule_;
};

// The up/down arrows at the right edge of a numeric box. Nothing is bound to them.
void add_inert_spin_arrows(QLineEdit* edit)
{
    const int half = edit->height() / 2;
    const int x = edit->width() - view::spin_arrows_width - 1;
    auto make = [&](Qt::ArrowType arrow, int y, int height, const char* name) {
        auto* button = new QToolButton(edit);
        button->setObjectName(QString::fromUtf8(name));
        button->setArrowType(arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(false);
        button->setGeometry(x, y, view::spin_arrows_width, height);
    };
    make(Qt::UpArrow, 1, half - 1, "spin_up");
    make(Qt::DownArrow, half, edit->height() - half - 1, "spin_down");
    edit->setTextMargins(0, 0, view::spin_arrows_width, 0);
}

// Closed combo boxes take the height their font needs; the open list uses the rest of what the
// layout reserves below them.
void fit_combo(QComboBox* combo)
{
    const int field = combo->sizeHint().height();
    combo->resize(combo->width(), field);
    const int row = combo->fontMetrics().height() + 4;
    combo->setMaxVisibleItems(std::max(1, (view::combo_list_reach - field) / row));
}

QWidget* create_widget(const view::ControlLayout& entry, QWidget* parent)
{
    switch (entry.kind) {
    case view::Kind::label: {
        // Texts such as a refused code or a card number come from the operator: never markup.
        auto* label = new QLabel(q(entry.text), parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case view::Kind::edit: {
        auto* edit = new QLineEdit(q(entry.text), parent);
        if (entry.input != view::Input::any)
            edit->setValidator(new InputRuleValidator(entry.input, edit));
        return edit;
    }
    case view::Kind::button:
        return new QPushButton(q(entry.text), parent);
    case view::Kind::check:
        return new QCheckBox(q(entry.text), parent);
    case view::Kind::combo: {
        auto* combo = new QComboBox(parent);
        for (std::string_view item : entry.items)
            combo->addItem(q(item));
        combo->setCurrentIndex(-1);
        // Shown while nothing is selected, so a list filled at run time says what it holds.
        combo->setPlaceholderText(q(entry.text));
        return combo;
    }
    case view::Kind::list:
        return new QListWidget(parent);
    case view::Kind::group:
        return new QGroupBox(q(entry.text), parent);
    case view::Kind::tab: {
        auto* tab = new QTabWidget(parent);
        tab->setFocusPolicy(Qt::NoFocus);
        tab->tabBar()->setFocusPolicy(Qt::NoFocus);
        return tab;
    }
    case view::Kind::endpoint:
        return nullptr;
    }
    return nullptr;
}

// Every control goes to its place in the client area (view::client_place), whatever widget holds
// it. A tab page's own place is known only once the tab control has laid it out, so the controls
// are moved again, parents first, each time a page is resized.
class ClientPlacer final : public QObject
{
public:
    explicit ClientPlacer(QWidget* window) : QObject(window), window_(window) {}

    void add(QWidget* control, const view::Rect& place)
    {
        const QPoint at(place.x, place.y);
        placed_.append({control, at});
        control->setGeometry(QRect(at - origin_of(control), QSize(place.width, place.height)));
    }
    void watch_page(QWidget* page) { page->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) {
            for (const auto& [control, at] : placed_)
                control->move(at - origin_of(control));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPoint origin_of(QWidget* control) const
    {
        return control->parentWidget()->mapTo(window_, QPoint(0, 0));
    }

    QWidget* window_;
    QList<QPair<QWidget*, QPoint>> placed_;
};

QWidget*
parent_for(const view::ControlLayout& entry, QWidget* window, const QHash<QString, QWidget*>& made)
{
    if (entry.parent.empty()) return window;
    QWidget* parent = made.value(q(entry.parent));
    if (auto* tab = qobject_cast<QTabWidget*>(parent); tab && entry.page >= 0)
        return tab->widget(entry.page);
    return parent;
}

} // namespace

BuiltControls build_window(QWidget* window, const view::WindowLayout& layout)
{
    QFont font = window->font();
    font.setPixelSize(12);
    window->setFont(font);
    window->setWindowTitle(q(layout.title));
    window->setWindowIcon(app_icon());
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setFixedSize(layout.client_width, layout.client_height);

    QHash<QString, QWidget*> made;
    auto* placer = new ClientPlacer(window);
    QWidget* previous_focusable = nullptr;
    for (const view::ControlLayout& control : layout.controls) {
        QWidget* parent = parent_for(control, window, made);
        QWidget* widget = create_widget(control, parent);
        if (!widget) continue;
        widget->setObjectName(q(control.name));
        made.insert(q(control.name), widget);
        placer->add(widget, view::client_place(layout, control));
        if (auto* tab = qobject_cast<QTabWidget*>(widget)) {
            for (std::string_view page : layout.pages) {
                auto* sheet = new QWidget;
                tab->addTab(sheet, q(page));
                placer->watch_page(sheet);
            }
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) fit_combo(combo);
        if (control.spin) add_inert_spin_arrows(static_cast<QLineEdit*>(widget));
        if (view::takes_focus(control.kind)) {
            if (previous_focusable) QWidget::setTabOrder(previous_focusable, widget);
            previous_focusable = widget;
        }
    }
    return BuiltControls(window);
}

void centre_on_screen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace zk::ui
