#include "present/settings/identity_volume.h"

#include "present/settings/field_number.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

constexpr std::string_view label_controller_id = "中控ID";
constexpr std::string_view label_volume = "系统音量";
constexpr std::uint32_t max_controller_id = 0xFFFF;

} // namespace

void on_read_controller_id(SettingsContext& context)
{
    send(context, protocol::ReadControllerId{});
}

void on_write_controller_id(SettingsContext& context)
{
    const std::optional<std::uint32_t> id =
        field_number(context, context.view.编辑框中控ID, label_controller_id, max_controller_id);
    if (!id) return;
    send(context, protocol::WriteControllerId{static_cast<std::uint16_t>(*id)});
}

void on_read_volume(SettingsContext& context)
{
    send(context, protocol::ReadVolume{});
}

void on_write_volume(SettingsContext& context)
{
    const std::optional<std::uint8_t> volume =
        field_byte(context, context.view.编辑框系统音量, label_volume);
    if (!volume) return;
    send(context, protocol::WriteVolume{*volume});
}

} // namespace zk::present
