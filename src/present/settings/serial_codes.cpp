#include "present/settings/serial_codes.h"

#include <optional>
#include <string>
#include <variant>

#include "base/text.h"
#include "base/values.h"
#include "protocol/code_text.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

struct CodeBox
{
    EditBox& box;
    std::string_view label; // the caption beside the box, used to name it in messages
};

// The 24-bit baud rate of the selected item's text, byte by byte as the controller takes it.
std::uint32_t selected_baud(const ItemList& bauds)
{
    const double baud = to_number(bauds.selected_text());
    const std::uint32_t high = to_byte(baud / 65536);
    const std::uint32_t middle = to_byte(remainder(baud, 65536) / 256);
    const std::uint32_t low = to_byte(remainder(baud, 256));
    return (high << 16) | (middle << 8) | low;
}

} // namespace

void on_read_serial_codes(SettingsContext& context)
{
    SettingsView& view = context.view;
    for (EditBox* box :
         {&view.编辑框开机码, &view.编辑框关机码, &view.编辑框视频码, &view.编辑框电脑码})
        box->set_content("");
    view.组合框波特率.set_selection(0);
    send(context, protocol::ReadProjectorCodes{});
}

void on_write_serial_codes(SettingsContext& context)
{
    SettingsView& view = context.view;
    const CodeBox boxes[] = {{view.编辑框开机码, "投影机开码"},
                             {view.编辑框关机码, "投影机关码"},
                             {view.编辑框视频码, "投影视频码"},
                             {view.编辑框电脑码, "投影电脑码"}};
    protocol::ProjectorCodes settings;
    for (std::size_t i = 0; i < settings.codes.size(); ++i) {
        std::variant<Bytes, std::string> code = parse_hex_bytes(boxes[i].box.content());
        if (const auto* bad = std::get_if<std::string>(&code)) {
            view.标签状态.set_caption(concat({boxes[i].label, msg_invalid_code_byte, *bad}));
            return;
        }
        settings.codes[i] = std::get<Bytes>(std::move(code));
    }
    // A box of more than 255 bytes would wrap its count byte, and four long codes the frame's
    // length byte; either way the controller would store something else than typed.
    if (!protocol::projector_codes_fit(settings.codes)) {
        view.标签状态.set_caption(msg_codes_too_long);
        return;
    }
    settings.baud = selected_baud(view.组合框波特率);
    settings.parity = static_cast<std::uint8_t>(view.组合框校验方式.selection() & 0xFF);
    send(context, protocol::WriteProjectorCodes{settings});
}

} // namespace zk::present
