#include "view/controls.h"

#include <algorithm>
#include <cctype>

namespace zk {

int resolve_selection(int requested, int item_count)
{
    if (item_count <= 0 || requested < 0) return -1;
    return std::min(requested, item_count - 1);
}

void ItemList::delete_all_items()
{
    while (item_count() > 0)
        delete_item(0);
}

void ItemList::set_selection(int requested)
{
    select_exactly(resolve_selection(requested, item_count()));
}

std::string ItemList::selected_text() const
{
    const int index = selection();
    return index < 0 ? std::string{} : item_text(index);
}

namespace {

bool starts_with_ignoring_ascii_case(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    });
}

} // namespace

int ItemList::select_by_text(std::string_view prefix)
{
    const int count = item_count();
    for (int i = 0; i < count; ++i) {
        if (starts_with_ignoring_ascii_case(item_text(i), prefix)) {
            select_exactly(i);
            return i;
        }
    }
    return -1;
}

} // namespace zk
