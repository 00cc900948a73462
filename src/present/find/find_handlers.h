#pragma once
// The find window's handlers: search, selection of a found controller, every configuration
// datagram that arrives, and the write of a controller's network parameters.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/sender.h"
#include "discovery/message.h"
#include "present/app_state.h"
#include "view/controls.h"
#include "view/find_view.h"

namespace zk::present {

inline constexpr std::string_view msg_write_done = "IP参数设置成功";
inline constexpr std::string_view msg_write_refused = "中控拒绝了IP参数,未写入";
inline constexpr std::string_view msg_read_first = "请先选择中控并读取IP参数";
inline constexpr std::string_view msg_write_unsound = "中控会拒绝这些IP参数,未发送: ";
// Around the other controller's "MAC:84:C2:E4:0:0:2", as its line in the list shows it.
inline constexpr std::string_view msg_address_taken = "中控IP已被列表中的另一台中控使用 (";
inline constexpr std::string_view msg_address_taken_end = "),未发送";

struct FindContext
{
    FindView& view;
    AppState& state;
    Sender& sender;
    MessageBoxes& boxes;
    // The network modules' configuration port; every request is a broadcast to it.
    int config_port;
    // This PC's address as the operator should see it, looked up afresh on each call.
    std::function<std::string()> local_address;
    // Told of every request that went out, so the window can wait for its answer.
    std::function<void(ByteView request)> on_sent = {};
};

// 按钮查找IP: empties the list, the found MACs and three fields, then broadcasts a search.
void start_search(FindContext& context);

// 列表框中控IP picked: refreshes 本机IP, then asks the picked controller for its parameters.
void select_found_controller(FindContext& context);

// Every datagram of the find window's endpoint, taken once at the start.
void handle_config_datagram(FindContext& context, ByteView datagram);

// 按钮设置IP: writes the edited parameters to the selected controller, or says why not.
void write_network_parameters(FindContext& context);

// A decimal number 0-65535, spaces around it allowed; nullopt otherwise.
std::optional<std::uint16_t> parse_port(std::string_view text);

} // namespace zk::present
