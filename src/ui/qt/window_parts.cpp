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
#include "net/endpoint_link.h"
#include "ui/qt/widget_controls.h"

namespace zk::ui {

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class WidgetFactory final : public view::ControlFactory
{
public:
    explicit WidgetFactory(const BuiltControls& controls) : c_(controls) {}
    std::unique_ptr<EditBox> edit(const view::ControlLayout& e) override
    {
        return std::make_unique<QtEditBox>(c_.get<QLineEdit>(e.name));
    }
    std::unique_ptr<Label> label(const view::ControlLayout& e) override
    {
        return std::make_unique<QtLabel>(c_.get<QLabel>(e.name));
    }
    std::unique_ptr<CheckBox> check(const view::ControlLayout& e) override
    {
        return std::make_unique<QtCheckBox>(c_.get<QCheckBox>(e.name));
    }
    std::unique_ptr<TabControl> tab(const view::ControlLayout& e) override
    {
        return std::make_unique<QtTabControl>(c_.get<QTabWidget>(e.name));
    }
    std::unique_ptr<ItemList> combo(const view::ControlLayout& e) override
    {
        return std::make_unique<QtComboList>(c_.get<QComboBox>(e.name));
    }
    std::unique_ptr<ItemList> list(const view::ControlLayout& e) override
    {
        return std::make_unique<QtListBox>(c_.get<QListWidget>(e.name));
    }

private:
    const BuiltControls& c_;
};

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
    WidgetFactory factory(controls);
    return view::ControlSet(layout, factory);
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

OpenLink endpoint_links(DatagramEndpoint*& opened, int receive_buffer)
{
    return [&opened, receive_buffer](int port, std::function<void(ByteView)> deliver) {
        auto link = std::make_unique<EndpointLink>(Dispatcher::current(), port, std::move(deliver),
                                                   receive_buffer);
        opened = &link->endpoint();
        return std::unique_ptr<DatagramLink>(std::move(link));
    };
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
