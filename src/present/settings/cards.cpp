#include "present/settings/cards.h"

#include <string>

#include "base/text.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

// Sends the request of kind `Kind` for the box's card number, or refuses an invalid one where
// the operator looks for the card's outcome.
template <class Kind> void send_for_card(SettingsContext& context)
{
    const std::optional<std::uint32_t> card = parse_card_number(context.view.编辑框卡号.content());
    if (!card) {
        context.view.标签卡状态.set_caption(msg_invalid_card);
        return;
    }
    send(context, Kind{*card});
}

} // namespace

std::optional<std::uint32_t> parse_card_number(std::string_view text)
{
    const std::string digits = trim_spaces(text);
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

void on_read_card(SettingsContext& context)
{
    context.view.标签状态.set_caption("");
    context.view.标签卡状态.set_caption("");
    context.view.编辑框卡号.set_content("");
    send(context, protocol::AwaitCard{});
}

void on_lookup_card(SettingsContext& context)
{
    send_for_card<protocol::LookUpCard>(context);
}

void on_register_card(SettingsContext& context)
{
    send_for_card<protocol::RegisterCard>(context);
}

void on_delete_card(SettingsContext& context)
{
    send_for_card<protocol::DeleteCard>(context);
}

void on_page_changed(SettingsContext& context)
{
    if (context.view.选择夹1.current_page() == authorisation_page)
        send(context, protocol::ReadCardCount{});
}

} // namespace zk::present
