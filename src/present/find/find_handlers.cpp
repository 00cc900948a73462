#include "present/find/find_handlers.h"

#include <algorithm>

#include "base/ipv4_text.h"
#include "base/text.h"
#include "base/values.h"
#include "discovery/refusals.h"
#include "discovery/search_reply.h"

namespace zk::present {

using discovery::ConfigReply;
using discovery::decode_reply;
using discovery::encode;
using discovery::Ipv4;
using discovery::list_entry;
using discovery::Mac;
using discovery::mac_entry;
using discovery::NetworkParameters;
using discovery::parameter_refusals;
using discovery::ReadRequest;
using discovery::refusal_text;
using discovery::RefusalReason;
using discovery::Reply;
using discovery::ResetAck;
using discovery::SearchReply;
using discovery::SearchRequest;
using discovery::write_request;
using discovery::WriteAck;
using discovery::WriteRefused;

namespace {

void broadcast(FindContext& context, ByteView datagram)
{
    if (!context.sender.send("", context.config_port, datagram))
        context.boxes.message_box(msg_send_failed);
    else if (context.on_sent)
        context.on_sent(datagram);
}

struct AddressField
{
    EditBox& box;
    std::string_view label;
    Ipv4 NetworkParameters::*target;
};

std::string format_error(std::string_view label)
{
    return std::string(label) + "格式错误";
}

// The parameters of the four address boxes and the port box; the first field that does not
// hold a valid value is shown by its label and nothing comes back.
std::optional<NetworkParameters> read_parameters(FindContext& context)
{
    FindView& view = context.view;
    const AddressField fields[] = {
        {view.编辑框中控IP, "中控IP", &NetworkParameters::ip},
        {view.编辑框子网掩码, "子网掩码", &NetworkParameters::mask},
        {view.编辑框网关, "默认网关", &NetworkParameters::gateway},
        {view.编辑框服务器IP, "服务器IP", &NetworkParameters::server_ip},
    };
    NetworkParameters parameters;
    for (const AddressField& field : fields) {
        const std::optional<Ipv4> address = parse_dotted_ipv4(field.box.content());
        if (!address) {
            context.boxes.message_box(format_error(field.label));
            return std::nullopt;
        }
        parameters.*field.target = *address;
    }
    const std::optional<std::uint16_t> port = parse_port(view.编辑框远程端口.content());
    if (!port) {
        context.boxes.message_box(format_error("远程端口"));
        return std::nullopt;
    }
    parameters.port = *port;
    return parameters;
}

bool from_selected(const AppState& state, const Mac& mac)
{
    return state.selected_mac == mac;
}

void accept_config_reply(FindContext& context, const ConfigReply& reply)
{
    AppState& state = context.state;
    if (!from_selected(state, reply.mac)) return;
    state.held_reply = reply;
    FindView& view = context.view;
    const NetworkParameters& p = reply.block.network;
    view.编辑框中控IP.set_content(ipv4_text(p.ip));
    view.编辑框子网掩码.set_content(ipv4_text(p.mask));
    view.编辑框网关.set_content(ipv4_text(p.gateway));
    view.编辑框服务器IP.set_content(ipv4_text(p.server_ip));
    view.编辑框远程端口.set_content(std::to_string(p.port));
}

// Each line of the acknowledged controller shows the address just written at once, so the list
// shows the segment as it now is. Only the code and MAC of an acknowledgement are the same on
// every controller, so the address comes from the write, not from the rest of the datagram. (A
// write takes every parameter from the fields, so the held block needs no change.)
void show_acknowledged(FindContext& context, const WriteAck& ack)
{
    AppState& state = context.state;
    if (ack.mac != state.written_mac) return;
    const std::string entry = list_entry(ack.mac, state.written_ip);
    for (std::size_t i = 0; i < state.found_macs.size(); ++i)
        if (state.found_macs[i] == ack.mac) {
            context.view.列表框中控IP.set_item_text(static_cast<int>(i), entry);
            state.found_ips[i] = state.written_ip;
        }
}

// The held reply while it is the selected controller's.
const ConfigReply* held_reply(const AppState& state)
{
    if (!state.held_reply || !from_selected(state, state.held_reply->mac)) return nullptr;
    return &*state.held_reply;
}

// The MAC of another listed controller that shows `ip`; nullopt when none does.
std::optional<Mac> listed_elsewhere(const AppState& state, const Ipv4& ip)
{
    for (std::size_t i = 0; i < state.found_ips.size(); ++i)
        if (state.found_ips[i] == ip && state.found_macs[i] != state.selected_mac)
            return state.found_macs[i];
    return std::nullopt;
}

} // namespace

std::optional<std::uint16_t> parse_port(std::string_view text)
{
    const std::optional<std::uint32_t> number = parse_decimal(trim_spaces(text), 65535);
    if (!number) return std::nullopt;
    return static_cast<std::uint16_t>(*number);
}

void start_search(FindContext& context)
{
    context.view.列表框中控IP.delete_all_items();
    context.state.found_macs.clear();
    context.state.found_ips.clear();
    context.view.编辑框中控IP.set_content("");
    context.view.编辑框子网掩码.set_content("");
    context.view.编辑框网关.set_content("");
    broadcast(context, encode(SearchRequest{}));
}

void select_found_controller(FindContext& context)
{
    context.view.编辑框本机IP.set_content(context.local_address ? context.local_address() : "");
    const int index = context.view.列表框中控IP.selection();
    if (index < 0 || static_cast<std::size_t>(index) >= context.state.found_macs.size()) return;
    context.state.selected_mac = context.state.found_macs[static_cast<std::size_t>(index)];
    broadcast(context, encode(ReadRequest{context.state.selected_mac, {}}));
}

namespace {

// One overload per reply kind the window acts on; the rest (a reset's acknowledgement) pass.
struct Arrival
{
    FindContext& context;
    void operator()(const SearchReply& reply) const
    {
        context.view.列表框中控IP.add_item(list_entry(reply.mac, reply.ip));
        context.state.found_macs.push_back(reply.mac);
        context.state.found_ips.push_back(reply.ip);
    }
    void operator()(const ConfigReply& reply) const { accept_config_reply(context, reply); }
    void operator()(const WriteAck& ack) const
    {
        show_acknowledged(context, ack);
        context.boxes.message_box(msg_write_done);
    }
    void operator()(const WriteRefused& refused) const
    {
        // Without a word the operator would wait for an acknowledgement that never comes.
        if (from_selected(context.state, refused.mac)) context.boxes.message_box(msg_write_refused);
    }
    void operator()(const ResetAck&) const {}
};

} // namespace

void handle_config_datagram(FindContext& context, ByteView datagram)
{
    // The reply is decoded into values of its own: a message box below lets further datagrams
    // in, and the datagram's bytes need not outlive this call.
    if (const std::optional<Reply> reply = decode_reply(datagram))
        std::visit(Arrival{context}, *reply);
}

void write_network_parameters(FindContext& context)
{
    AppState& state = context.state;
    // A block from another controller, or none at all, would carry foreign hidden settings.
    const ConfigReply* held = held_reply(state);
    if (!held) {
        context.boxes.message_box(msg_read_first);
        return;
    }
    const std::optional<NetworkParameters> parameters = read_parameters(context);
    if (!parameters) return;
    // Only what the operator set is judged: the rest of the block is the controller's own.
    const std::vector<RefusalReason> reasons = parameter_refusals(*parameters);
    if (!reasons.empty()) {
        context.boxes.message_box(std::string(msg_write_unsound) + refusal_text(reasons));
        return;
    }
    if (const std::optional<Mac> other = listed_elsewhere(state, parameters->ip)) {
        context.boxes.message_box(std::string(msg_address_taken) + mac_entry(*other) +
                                  std::string(msg_address_taken_end));
        return;
    }
    state.written_mac = state.selected_mac;
    state.written_ip = parameters->ip;
    broadcast(context, encode(write_request(*held, *parameters)));
}

} // namespace zk::present
