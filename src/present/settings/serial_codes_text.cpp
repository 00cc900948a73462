#include "present/settings/serial_codes_text.h"

#include <array>
#include <variant>

#include "base/text.h"
#include "base/values.h"
#include "present/settings/serial_codes.h"
#include "protocol/code_text.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

std::string refusal_text(const protocol::TextRefusal& refusal)
{
    switch (refusal.problem) {
    case protocol::TextProblem::unknown_escape:
        return concat({"命令文本含未知转义:", refusal.piece, " (可用 \\r \\n \\t \\\\ \\xHH)"});
    case protocol::TextProblem::bad_hex_escape:
        return concat({"命令文本中 \\x 后须为两位十六进制数:", refusal.piece});
    case protocol::TextProblem::lone_backslash:
        return "命令文本以单个 \\ 结尾 (反斜杠本身写作 \\\\)";
    case protocol::TextProblem::non_ascii:
        return concat({"命令文本含非ASCII字符:", refusal.piece});
    }
    return {};
}

// The three other boxes' bytes beside the new code; a box that holds no valid code counts as
// empty here, its own write refuses it later.
bool fits_beside_others(SettingsView& view, std::size_t chosen, const Bytes& code)
{
    std::array<Bytes, 4> codes;
    const auto boxes = code_boxes(view);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i == chosen) {
            codes[i] = code;
            continue;
        }
        auto bytes = parse_hex_bytes(boxes[i].box.content());
        if (auto* valid = std::get_if<Bytes>(&bytes)) codes[i] = *valid;
    }
    return protocol::projector_codes_fit(codes);
}

} // namespace

void on_code_text_in(SettingsContext& context)
{
    SettingsView& view = context.view;
    const std::string text = view.编辑框命令文本.content();
    if (text.empty()) return;
    const int chosen = view.组合框转换码.selection();
    if (chosen < 0 || chosen > 3) {
        view.标签状态.set_caption("请先选择要填入的码");
        return;
    }
    auto code = protocol::code_from_text(text);
    if (const auto* refusal = std::get_if<protocol::TextRefusal>(&code)) {
        view.标签状态.set_caption(refusal_text(*refusal));
        return;
    }
    const auto index = static_cast<std::size_t>(chosen);
    const Bytes& bytes = std::get<Bytes>(code);
    if (!fits_beside_others(view, index, bytes)) {
        view.标签状态.set_caption("投影码过长,未填入");
        return;
    }
    const CodeBox target = code_boxes(view)[index];
    target.box.set_content(hex_bytes_text(bytes));
    view.标签状态.set_caption(concat({"已填入", target.label, ",按写串口码写入中控"}));
}

void on_code_text_out(SettingsContext& context)
{
    SettingsView& view = context.view;
    const int chosen = view.组合框转换码.selection();
    if (chosen < 0 || chosen > 3) {
        view.标签状态.set_caption("请先选择要显示的码");
        return;
    }
    const CodeBox source = code_boxes(view)[static_cast<std::size_t>(chosen)];
    auto bytes = parse_hex_bytes(source.box.content());
    if (const auto* bad = std::get_if<std::string>(&bytes)) {
        view.标签状态.set_caption(concat({source.label, msg_invalid_code_byte, *bad}));
        return;
    }
    view.编辑框命令文本.set_content(protocol::code_to_text(std::get<Bytes>(bytes)));
}

} // namespace zk::present
