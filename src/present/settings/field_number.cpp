#include "present/settings/field_number.h"

#include "base/text.h"

namespace zk::present {

std::optional<std::uint32_t> field_number(SettingsContext& context,
                                          const EditBox& box,
                                          std::string_view label,
                                          std::uint32_t max)
{
    const std::int64_t value = to_integer(to_number(box.content()));
    if (value >= 0 && value <= std::int64_t{max}) return static_cast<std::uint32_t>(value);
    context.view.标签状态.set_caption(
        concat({label, "超出范围(0-", to_text(std::int64_t{max}), ")"}));
    return std::nullopt;
}

std::optional<std::uint8_t>
field_byte(SettingsContext& context, const EditBox& box, std::string_view label)
{
    const std::optional<std::uint32_t> value = field_number(context, box, label, 0xFF);
    if (!value) return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

} // namespace zk::present
