#pragma once
// What the Qt windows give their models: the control adapters by name, the operator's events bound
// to the models' actions and the file dialogs.
#include <QWidget>
#include <vector>

#include "net/endpoint_link.h"
#include "present/file_dialogs.h"
#include "ui/qt/window_builder.h"
#include "view/control_set.h"

namespace zk::ui {

// An adapter for every control of `layout` built in `controls`' window.
view::ControlSet adapt_controls(const BuiltControls& controls, const view::WindowLayout& layout);

// Runs each action on the operator's event of its control: a button's click, a pick in a combo
// box (activated: the program's own changes do not raise it) or a list box, a change of page.
void bind_actions(const BuiltControls& controls,
                  const view::WindowLayout& layout,
                  const std::vector<view::ControlAction>& actions);

// Qt's file dialogs for JSON files, over `owner`.
class QtFileDialogs final : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget* owner) : owner_(owner) {}
    std::filesystem::path open_file(std::string_view title) override;
    std::filesystem::path save_file(std::string_view title, std::string_view suggested) override;

private:
    QWidget* owner_;
};

} // namespace zk::ui
