#pragma once
// A window model's action table checked against its layout: a typo in a control name would
// otherwise only show when the toolkit binds it.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "view/control_set.h"
#include "view/layout.h"

namespace zk::test {

// Every action names a control of `layout` that raises an event (a button, a list, a combo box
// or a tab), none twice, and every button of the layout has one.
inline void expect_actions_cover(const std::vector<view::ControlAction>& actions,
                                 const view::WindowLayout& layout)
{
    std::set<std::string_view> seen;
    for (const view::ControlAction& action : actions) {
        SCOPED_TRACE(std::string(action.control));
        const view::ControlLayout* entry = view::find_control(layout, action.control);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->kind == view::Kind::button || entry->kind == view::Kind::combo ||
                    entry->kind == view::Kind::list || entry->kind == view::Kind::tab);
        EXPECT_TRUE(seen.insert(action.control).second);
    }
    for (const view::ControlLayout& entry : layout.controls) {
        if (entry.kind == view::Kind::button) {
            EXPECT_TRUE(seen.count(entry.name)) << entry.name;
        }
    }
}

} // namespace zk::test
