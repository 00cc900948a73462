#pragma once
// Thousands of controllers answer one search within a fraction of a second. A list box shows its
// additions together: they wait here until no addition came for a moment (10 ms) or, while they
// keep coming, at the latest every 250 ms, and then go into the widget in one step. Both
// toolkits' list boxes keep their waiting items here, so the rule is written once.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/dispatcher.h"
#include "view/controls.h"

namespace zk::view {

class BatchedList
{
public:
    using Clock = std::chrono::steady_clock;
    // Puts the waiting texts into the widget, in order; called only with some waiting.
    using Show = std::function<void(const std::vector<std::string>& texts)>;

    // No addition for this long means the burst is over.
    static constexpr std::chrono::milliseconds quiet{10};
    // While additions keep coming, they are shown at least this often.
    static constexpr std::chrono::milliseconds longest_wait{250};

    // Its timer runs on `dispatcher`, the window thread's; `now` is the clock (tests set it).
    BatchedList(Dispatcher& dispatcher, Show show, std::function<Clock::time_point()> now = {});

    // Queues `text`; the timer starts with the first and moves at most once per expiry, so a
    // stream of additions costs no wake-ups of its own.
    void add(std::string_view text);
    std::size_t waiting() const { return waiting_.size(); }
    // The waiting text at `index` (0 for the oldest); empty outside them.
    std::string waiting_text(std::size_t index) const;
    // Shows what waits now.
    void flush();
    // Forgets what waits (the list is being emptied).
    void drop();

private:
    void flush_when_due();

    Show show_;
    std::function<Clock::time_point()> now_;
    std::vector<std::string> waiting_;
    Timer timer_;
    Clock::time_point first_waiting_;
    Clock::time_point last_added_;
};

// A list box whose additions wait in a BatchedList. Handlers see the waiting items as items of the
// list all along, and a change by index puts them into the widget first. The toolkit says how its
// widget shows, changes and selects the items it holds.
class BatchedListBox : public ItemList
{
public:
    // Its timer runs on `dispatcher`, the window thread's.
    explicit BatchedListBox(Dispatcher& dispatcher);
    int item_count() const final;
    std::string item_text(int index) const final;
    int add_item(std::string_view text) final;
    bool delete_item(int index) final;
    bool set_item_text(int index, std::string_view text) final;
    // Empties the widget in one step: a search after thousands of answers does not remove them
    // one by one.
    void delete_all_items() final;
    // Puts the waiting additions into the widget now.
    void flush();

protected:
    void select_exactly(int index) final;

    // The items the widget holds; those waiting are not among them.
    virtual int shown() const = 0;
    // The text of held item `index` (0 <= index < shown()).
    virtual std::string shown_text(int index) const = 0;
    // Appends `texts` to the widget in one step.
    virtual void show(const std::vector<std::string>& texts) = 0;
    // Removes held item `index`.
    virtual void remove(int index) = 0;
    // Replaces the text of held item `index`, keeping its place and the selection.
    virtual void replace(int index, std::string_view text) = 0;
    // Removes every held item.
    virtual void clear() = 0;
    // Selects held item `index`; -1 clears the selection.
    virtual void select_shown(int index) = 0;

private:
    BatchedList batch_;
};

} // namespace zk::view
