#pragma once
// The controls of one built window, found by their names in the layout: the toolkit makes an
// adapter for every control its kind has one for, and the window models take what they need by
// name, so neither lists the controls twice.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
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

// A ControlFactory over one toolkit's adapter classes, one for each kind that has one:
// `make(std::type_identity<A>{}, entry)` makes the adapter A of `entry`, over whatever the toolkit
// built for it.
template <class Edit, class Text, class Check, class Tab, class Combo, class List, class Make>
class AdapterFactory final : public ControlFactory
{
public:
    explicit AdapterFactory(Make make) : make_(std::move(make)) {}
    std::unique_ptr<EditBox> edit(const ControlLayout& e) override { return make<Edit>(e); }
    std::unique_ptr<Label> label(const ControlLayout& e) override { return make<Text>(e); }
    std::unique_ptr<CheckBox> check(const ControlLayout& e) override { return make<Check>(e); }
    std::unique_ptr<TabControl> tab(const ControlLayout& e) override { return make<Tab>(e); }
    std::unique_ptr<ItemList> combo(const ControlLayout& e) override { return make<Combo>(e); }
    std::unique_ptr<ItemList> list(const ControlLayout& e) override { return make<List>(e); }

private:
    template <class A> std::unique_ptr<A> make(const ControlLayout& e)
    {
        return make_(std::type_identity<A>{}, e);
    }

    Make make_;
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

// The controls of `layout` as the adapter classes Edit, Text, Check, Tab, Combo and List, each made
// by `make` (see AdapterFactory).
template <class Edit, class Text, class Check, class Tab, class Combo, class List, class Make>
ControlSet adapt_controls(const WindowLayout& layout, Make make)
{
    AdapterFactory<Edit, Text, Check, Tab, Combo, List, Make> factory(std::move(make));
    return ControlSet(layout, factory);
}

// What the operator's action on a control runs: a click of a button, a pick in a combo or list
// box, a change of page of a tab control. The toolkits bind the event the control's kind raises.
struct ControlAction
{
    std::string_view control; // its name in the layout
    std::function<void()> run;
};

} // namespace zk::view
