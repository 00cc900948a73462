#pragma once
// The controls of one built window, found by their names in the layout: the toolkit makes an
// adapter for every control its kind has one for, and the window models take what they need by
// name, so neither lists the controls twice.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "view/controls.h"
#include "view/layout.h"

namespace zk::view {

// Makes the adapter of one control of a built window; the toolkits implement it, tests too.
class ControlFactory
{
public:
    virtual ~ControlFactory() = default;
    virtual std::unique_ptr<EditBox> edit(const ControlLayout& entry) = 0;
    virtual std::unique_ptr<Label> label(const ControlLayout& entry) = 0;
    virtual std::unique_ptr<CheckBox> check(const ControlLayout& entry) = 0;
    virtual std::unique_ptr<TabControl> tab(const ControlLayout& entry) = 0;
    virtual std::unique_ptr<ItemList> combo(const ControlLayout& entry) = 0;
    virtual std::unique_ptr<ItemList> list(const ControlLayout& entry) = 0;
};

class ControlSet
{
public:
    // An adapter for every label, edit box, check box, tab control, combo box and list box of
    // `layout` (buttons, group boxes and the endpoint have none).
    ControlSet(const WindowLayout& layout, ControlFactory& factory);

    // The control named `name` as kind C; a missing name or another kind is a programming error
    // and aborts.
    template <class C> C& get(std::string_view name) const
    {
        const auto found = controls_.find(name);
        const auto* held =
            found == controls_.end() ? nullptr : std::get_if<Held<C>>(&found->second);
        if (!held) missing(name);
        return **held;
    }

private:
    template <class C> using Held = std::unique_ptr<C>;
    [[noreturn]] static void missing(std::string_view name);

    std::map<
        std::string,
        std::variant<Held<EditBox>, Held<Label>, Held<CheckBox>, Held<TabControl>, Held<ItemList>>,
        std::less<>>
        controls_;
};

// What the operator's action on a control runs: a click of a button, a pick in a combo or list
// box, a change of page of a tab control. The toolkits bind the event the control's kind raises.
struct ControlAction
{
    std::string_view control; // its name in the layout
    std::function<void()> run;
};

} // namespace zk::view
