#include "view/batched_list.h"

#include <algorithm>

namespace zk::view {

BatchedList::BatchedList(Dispatcher& dispatcher, Show show, std::function<Clock::time_point()> now)
    : show_(std::move(show)), now_(now ? std::move(now) : [] { return Clock::now(); }),
      timer_(dispatcher)
{}

void BatchedList::add(std::string_view text)
{
    const Clock::time_point now = now_();
    if (waiting_.empty()) first_waiting_ = now;
    last_added_ = now;
    waiting_.emplace_back(text);
    if (!timer_.active()) timer_.start(quiet, [this] { flush_when_due(); });
}

std::string BatchedList::waiting_text(std::size_t index) const
{
    return index < waiting_.size() ? waiting_[index] : std::string{};
}

void BatchedList::flush_when_due()
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const Clock::time_point now = now_();
    const auto quiet_left = duration_cast<milliseconds>(quiet - (now - last_added_));
    const auto wait_left = duration_cast<milliseconds>(longest_wait - (now - first_waiting_));
    if (quiet_left.count() <= 0 || wait_left.count() <= 0) {
        flush();
        return;
    }
    timer_.start(std::min(quiet_left, wait_left), [this] { flush_when_due(); });
}

void BatchedList::flush()
{
    timer_.stop();
    if (waiting_.empty()) return;
    // Cleared before showing: a widget that asks for its count meanwhile sees no item twice.
    const std::vector<std::string> texts = std::move(waiting_);
    waiting_.clear();
    show_(texts);
}

void BatchedList::drop()
{
    timer_.stop();
    waiting_.clear();
}

BatchedListBox::BatchedListBox(Dispatcher& dispatcher)
    : batch_(dispatcher, [this](const std::vector<std::string>& texts) { show(texts); })
{}

int BatchedListBox::item_count() const
{
    return shown() + static_cast<int>(batch_.waiting());
}

std::string BatchedListBox::item_text(int index) const
{
    const int held = shown();
    if (index < 0) return {};
    if (index >= held) return batch_.waiting_text(static_cast<std::size_t>(index - held));
    return shown_text(index);
}

int BatchedListBox::add_item(std::string_view text)
{
    batch_.add(text);
    return item_count() - 1;
}

void BatchedListBox::flush()
{
    batch_.flush();
}

bool BatchedListBox::delete_item(int index)
{
    flush();
    if (index < 0 || index >= shown()) return false;
    remove(index);
    return true;
}

void BatchedListBox::delete_all_items()
{
    batch_.drop();
    clear();
}

bool BatchedListBox::set_item_text(int index, std::string_view text)
{
    flush();
    if (index < 0 || index >= shown()) return false;
    replace(index, text);
    return true;
}

void BatchedListBox::select_exactly(int index)
{
    flush();
    select_shown(index);
}

} // namespace zk::view
