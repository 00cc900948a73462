#include "commands/cards.h"

#include <string>

#include "protocol/requests.h"
#include "runtime/text.h"

namespace zk::commands {

namespace {

// Sends the request built for the box's card number, or refuses an invalid one where the
// operator looks for the card's outcome.
void send_for_card(SettingsContext& context, Bytes (*build)(std::uint32_t))
{
    const std::optional<std::uint32_t> card = parse_card_number(context.view.编辑框卡号.content());
    if (!card) {
        context.view.标签卡状态.set_caption(msg_invalid_card);
        return;
    }
    send_payload(context, build(*card));
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
    send_payload(context, protocol::card_read());
}

void on_lookup_card(SettingsContext& context)
{
    send_for_card(context, protocol::card_lookup);
}

void on_register_card(SettingsContext& context)
{
    send_for_card(context, protocol::card_register);
}

void on_delete_card(SettingsContext& context)
{
    send_for_card(context, protocol::card_delete);
}

void on_page_changed(SettingsContext& context)
{
    if (context.view.选择夹1.current_page() == authorisation_page)
        send_payload(context, protocol::card_count_read());
}

} // namespace zk::commands
