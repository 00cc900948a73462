#include "ui/qt/window_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "base/file_read.h"
#include "ui/qt/widget_controls.h"

namespace zk::ui {

namespace {

// The operator's picks in a list box: every change of the selection, and a click on the entry
// that is already selected, so that picking it again reads the controller again (after a lost
// reply, say). A press that changed the selection has been reported by the change already.
class ListPicks final : public QObject
{
public:
    ListPicks(QListWidget* list, std::function<void()> pick) : QObject(list), pick_(std::move(pick))
    {
        list->viewport()->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            ++changes_;
            pick_();
        });
        connect(list, &QListWidget::itemPressed, this, [this] {
            if (changes_ == changes_at_press_) pick_();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) changes_at_press_ = changes_;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> pick_;
    unsigned changes_ = 0;
    unsigned changes_at_press_ = 0;
};

void bind_action(const BuiltControls& controls, view::Kind kind, const view::ControlAction& action)
{
    const auto run = action.run;
    switch (kind) {
    case view::Kind::button:
        QObject::connect(controls.get<QPushButton>(action.control), &QPushButton::clicked, run);
        break;
    case view::Kind::combo:
        QObject::connect(controls.get<QComboBox>(action.control), &QComboBox::activated, run);
        break;
    case view::Kind::list:
        new ListPicks(controls.get<QListWidget>(action.control), run);
        break;
    case view::Kind::tab:
        // currentChanged also fires for setCurrentIndex from the program; nothing sets it.
        QObject::connect(controls.get<QTabWidget>(action.control), &QTabWidget::currentChanged,
                         run);
        break;
    default:
        qFatal("no event to bind for %.*s", static_cast<int>(action.control.size()),
               action.control.data());
    }
}

QString json_filter()
{
    return QStringLiteral("JSON (*.json)");
}

} // namespace

view::ControlSet adapt_controls(const BuiltControls& controls, const view::WindowLayout& layout)
{
    return view::adapt_controls<QtEditBox, QtLabel, QtCheckBox, QtTabControl, QtComboList,
                                QtListBox>(
        layout, [&controls]<class A>(std::type_identity<A>, const view::ControlLayout& entry) {
            return std::make_unique<A>(controls.get<typename A::Widget>(entry.name));
        });
}

void bind_actions(const BuiltControls& controls,
                  const view::WindowLayout& layout,
                  const std::vector<view::ControlAction>& actions)
{
    for (const view::ControlAction& action : actions) {
        const view::ControlLayout* entry = view::find_control(layout, action.control);
        bind_action(controls, entry ? entry->kind : view::Kind::endpoint, action);
    }
}

std::filesystem::path QtFileDialogs::open_file(std::string_view title)
{
    const QString path = QFileDialog::getOpenFileName(owner_, q(title), {}, json_filter());
    return utf8_path(path.toStdString());
}

std::filesystem::path QtFileDialogs::save_file(std::string_view title, std::string_view suggested)
{
    const QString path =
        QFileDialog::getSaveFileName(owner_, q(title), q(suggested), json_filter());
    return utf8_path(path.toStdString());
}

} // namespace zk::ui
