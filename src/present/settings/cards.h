#pragma once
// Page "授权管理", card side: the card at the reader, the registry of accepted cards and the
// counts shown when the page opens.
#include <cstdint>
#include <optional>
#include <string_view>

#include "present/settings/context.h"

namespace zk::present {

inline constexpr std::string_view msg_invalid_card = "卡号无效";
inline constexpr int authorisation_page = 2; // "授权管理"

// The card number in a box: decimal digits only, 0 to 4294967295, spaces around it and leading
// zeros allowed; nullopt for anything else, the empty text included.
std::optional<std::uint32_t> parse_card_number(std::string_view text);

// 按钮读卡: empties 标签状态, 标签卡状态 and 编辑框卡号, then asks for the card at the reader.
void on_read_card(SettingsContext& context);

// 按钮查看: looks the number in 编辑框卡号 up; an invalid number shows "卡号无效" instead.
void on_lookup_card(SettingsContext& context);

// 按钮写卡: registers the number in 编辑框卡号; an invalid number shows "卡号无效" instead.
void on_register_card(SettingsContext& context);

// 按钮删卡: deletes the number in 编辑框卡号; an invalid number shows "卡号无效" instead.
void on_delete_card(SettingsContext& context);

// 选择夹1 page changed: the page "授权管理" asks for the card count (the fingerprint count
// follows its answer); the other pages send nothing.
void on_page_changed(SettingsContext& context);

} // namespace zk::present
