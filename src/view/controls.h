#pragma once
// The control kinds handlers work with, free of any widget toolkit. The GUI implements them over
// Qt widgets, the tests in memory; the list rules (selection, select by text) live here once.
#include <string>
#include <string_view>

namespace zk {

// Single-line edit box.
class EditBox
{
public:
    virtual ~EditBox() = default;
    virtual std::string content() const = 0;
    virtual void set_content(std::string_view text) = 0;
};

// Static text.
class Label
{
public:
    virtual ~Label() = default;
    virtual std::string caption() const = 0;
    virtual void set_caption(std::string_view text) = 0;
};

class CheckBox
{
public:
    virtual ~CheckBox() = default;
    virtual bool checked() const = 0;
    virtual void set_checked(bool on) = 0;
};

class TabControl
{
public:
    virtual ~TabControl() = default;
    // 0 for the first page.
    virtual int current_page() const = 0;
};

// The one place that says which item a requested selection lands on: -1 and below clear it,
// an index past the end selects the last item, an empty list selects nothing.
int resolve_selection(int requested, int item_count);

// Combo box or list box. Items are kept in the order added; setting the selection from the
// program never raises the operator's selected event.
class ItemList
{
public:
    virtual ~ItemList() = default;

    virtual int item_count() const = 0;
    // Text of the item at index; empty outside the list.
    virtual std::string item_text(int index) const = 0;
    // Appends at the end and returns the new index, -1 on failure.
    virtual int add_item(std::string_view text) = 0;
    // Removes the item at index; false when there is none.
    virtual bool delete_item(int index) = 0;
    // Replaces the text of the item at index, keeping its place and the selection; false when
    // there is none.
    virtual bool set_item_text(int index, std::string_view text) = 0;
    // Index of the selected item, -1 for none.
    virtual int selection() const = 0;

    // Deletes item 0 until none is left; a kind that can empty itself at once does so.
    virtual void delete_all_items();
    // Applies resolve_selection and selects the result without raising an event.
    void set_selection(int requested);
    // Text of the selected item, empty when none is selected.
    std::string selected_text() const;
    // Selects the first item whose text begins with `prefix` (ASCII case ignored) and returns
    // its index; -1 and the selection unchanged when none does.
    int select_by_text(std::string_view prefix);

protected:
    // Selects exactly `index` (-1 clears); callers have already resolved it.
    virtual void select_exactly(int index) = 0;
};

// The caption of every message box, in either toolkit.
inline constexpr std::string_view message_box_title = "信息：";

// Modal information box with one OK button and the caption message_box_title.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void message_box(std::string_view text) = 0;
};

} // namespace zk
