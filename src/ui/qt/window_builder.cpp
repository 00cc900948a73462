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

namespace zk::ui {

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    constexpr int arrow_width = 16;
    const int half = edit->height() / 2;
    const int x = edit->width() - arrow_width - 1;
    auto make = [&](Qt::ArrowType arrow, int y, int height, const char* name) {
        auto* button = new QToolButton(edit);
        button->setObjectName(QString::fromUtf8(name));
        button->setArrowType(arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(false);
        button->setGeometry(x, y, arrow_width, height);
    };
    make(Qt::UpArrow, 1, half - 1, "spin_up");
    make(Qt::DownArrow, half, edit->height() - half - 1, "spin_down");
    edit->setTextMargins(0, 0, arrow_width, 0);
}

// Closed combo boxes take the height their font needs; the open list uses the rest of the
// 160 pixels the layout reserves below them.
void fit_combo(QComboBox* combo)
{
    constexpr int reserved_height = 160;
    const int field = combo->sizeHint().height();
    combo->resize(combo->width(), field);
    const int row = combo->fontMetrics().height() + 4;
    combo->setMaxVisibleItems(std::max(1, (reserved_height - field) / row));
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

// Controls on a page are placed relative to the tab control, as in the layout, but live on the
// page, which starts below the tab bar. The page's place is known only once the tab control has
// laid it out, so the controls are moved each time the page is resized.
class PagePlacer final : public QObject
{
public:
    PagePlacer(QTabWidget* tab, QWidget* page) : QObject(page), tab_(tab), page_(page)
    {
        page->installEventFilter(this);
    }

    void add(QWidget* control, const QRect& in_tab)
    {
        placed_.append({control, in_tab});
        control->setGeometry(in_tab);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == page_ && event->type() == QEvent::Resize) {
            const QPoint offset = page_->mapTo(tab_, QPoint(0, 0));
            for (const auto& [control, in_tab] : placed_)
                control->move(in_tab.topLeft() - offset);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTabWidget* tab_;
    QWidget* page_;
    QList<QPair<QWidget*, QRect>> placed_;
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

void place(QWidget* widget,
           const view::ControlLayout& entry,
           QWidget* parent,
           const QHash<QWidget*, PagePlacer*>& placers)
{
    const QRect rect(entry.place.x, entry.place.y, entry.place.width, entry.place.height);
    if (PagePlacer* placer = placers.value(parent))
        placer->add(widget, rect);
    else
        widget->setGeometry(rect);
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
    QHash<QWidget*, PagePlacer*> placers;
    QWidget* previous_focusable = nullptr;
    for (const view::ControlLayout& control : layout.controls) {
        QWidget* parent = parent_for(control, window, made);
        QWidget* widget = create_widget(control, parent);
        if (!widget) continue;
        widget->setObjectName(q(control.name));
        made.insert(q(control.name), widget);
        place(widget, control, parent, placers);
        if (auto* tab = qobject_cast<QTabWidget*>(widget)) {
            for (std::string_view page : layout.pages) {
                auto* sheet = new QWidget;
                tab->addTab(sheet, q(page));
                placers.insert(sheet, new PagePlacer(tab, sheet));
            }
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) fit_combo(combo);
        if (control.spin) add_inert_spin_arrows(static_cast<QLineEdit*>(widget));
        if (widget->focusPolicy() != Qt::NoFocus && control.kind != view::Kind::label &&
            control.kind != view::Kind::group) {
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
