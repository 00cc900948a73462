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

std::array<CodeBox, 4> code_boxes(SettingsView& view)
{
    return {{{view.编辑框开机码, "投影机开码"},
             {view.编辑框关机码, "投影机关码"},
             {view.编辑框视频码, "投影视频码"},
             {view.编辑框电脑码, "投影电脑码"}}};
}

std::variant<std::array<Bytes, 4>, std::string> codes_in_boxes(SettingsView& view)
{
    std::array<Bytes, 4> codes;
    const auto boxes = code_boxes(view);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        std::variant<Bytes, std::string> code = parse_hex_bytes(boxes[i].box.content());
        if (const auto* bad = std::get_if<std::string>(&code))
            return concat({boxes[i].label, msg_invalid_code_byte, *bad});
        codes[i] = std::get<Bytes>(std::move(code));
    }
    return codes;
}

void on_read_serial_codes(SettingsContext& context)
{
    SettingsView& view = context.view;
    for (const CodeBox& code : code_boxes(view))
        code.box.set_content("");
    view.组合框波特率.set_selection(0);
    send(context, protocol::ReadProjectorCodes{});
}

void on_write_serial_codes(SettingsContext& context)
{
    SettingsView& view = context.view;
    auto codes = codes_in_boxes(view);
    if (const auto* bad = std::get_if<std::string>(&codes)) {
        view.标签状态.set_caption(*bad);
        return;
    }
    protocol::ProjectorCodes settings;
    settings.codes = std::get<std::array<Bytes, 4>>(std::move(codes));
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
