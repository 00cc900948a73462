#include "present/settings/timings_mode.h"

#include "present/settings/field_number.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

// The labels of the boxes without their printed range, which is not enforced.
constexpr std::string_view label_screen = "投影机幕布升降间隔时间";
constexpr std::string_view label_warm_up = "投影机预热时间";
constexpr std::string_view label_cool_down = "投影机散热时间";

} // namespace

void on_read_timings(SettingsContext& context)
{
    send(context, protocol::ReadTimings{});
}

void on_write_timings(SettingsContext& context)
{
    SettingsView& view = context.view;
    const std::optional<std::uint8_t> screen =
        field_byte(context, view.编辑框幕布时间, label_screen);
    if (!screen) return;
    const std::optional<std::uint8_t> warm_up =
        field_byte(context, view.编辑框投影机预热时间, label_warm_up);
    if (!warm_up) return;
    const std::optional<std::uint8_t> cool_down =
        field_byte(context, view.编辑框投影机散热时间, label_cool_down);
    if (!cool_down) return;
    send(context, protocol::WriteTimings{*screen, *warm_up, *cool_down});
}

void on_read_swipe_mode(SettingsContext& context)
{
    send(context, protocol::ReadSwipeMode{});
}

void on_write_swipe_mode(SettingsContext& context)
{
    send(context, protocol::WriteSwipeMode{context.view.选择框刷卡开机.checked()});
}

} // namespace zk::present
