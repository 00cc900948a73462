#include "sim/network_module.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "base/ipv4_text.h"
#include "base/text.h"
#include "base/values.h"
#include "discovery/refusals.h"
#include "discovery/search_reply.h"
#include "sim/controller_state.h"

namespace zk::sim {

namespace {

// A search with the all-zero MAC reaches every module; anything else only the one it names.
bool addressed_to(const discovery::Request& request, const ModuleSettings& module)
{
    const Mac named = discovery::mac_of(request);
    const bool for_all =
        std::holds_alternative<discovery::SearchRequest>(request) && named == Mac{};
    return for_all || named == module.mac;
}

Ipv4 address_from(const nlohmann::json& json)
{
    const std::optional<Ipv4> address = parse_dotted_ipv4(json.get<std::string>());
    if (!address) throw nlohmann::json::other_error::create(501, "bad IPv4 address", &json);
    return *address;
}

// A number that does not fit its field is refused rather than wrapped into another value.
template <typename Field> Field fitting(const nlohmann::json& value, const char* key)
{
    if (!value.is_number_unsigned() ||
        value.get<std::uint64_t>() > std::numeric_limits<Field>::max())
        throw nlohmann::json::out_of_range::create(406, std::string(key) + " does not fit", &value);
    return value.get<Field>();
}

std::string block_text(const StoredBlock& block)
{
    return hex_bytes_text(block, "");
}

StoredBlock block_from(const nlohmann::json& json)
{
    const std::string text = json.get<std::string>();
    StoredBlock block{};
    if (text.size() != 2 * block.size())
        throw nlohmann::json::other_error::create(501, "block needs 204 bytes", &json);
    for (std::size_t i = 0; i < block.size(); ++i) {
        const std::optional<std::uint8_t> byte =
            parse_hex_byte(std::string_view(text).substr(2 * i, 2));
        if (!byte) throw nlohmann::json::other_error::create(501, "block is not hex", &json);
        block[i] = *byte;
    }
    return block;
}

bool is_utf8(const std::string& text)
{
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

} // namespace

Bytes search_reply(const ModuleSettings& module, ByteView request)
{
    return discovery::encode(discovery::search_answer(module, request));
}

Bytes config_reply(const ModuleSettings& module, ByteView request)
{
    return discovery::encode(discovery::config_answer(module, request));
}

ModelAnswer NetworkModel::handle(ByteView request)
{
    ModelAnswer answer;
    if (!discovery::strictly_formed(request)) return answer;
    const std::optional<discovery::Request> decoded = discovery::decode_request(request);
    if (!decoded) return answer;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (!addressed_to(*decoded, modules[i])) continue;
        answer.replies.push_back(discovery::encode(answer_one(i, *decoded, request, answer)));
        answer.senders.push_back(i);
    }
    return answer;
}

// One overload per request kind, so a new kind cannot go unanswered.
struct NetworkModel::Answering
{
    NetworkModel& model;
    std::size_t index;
    ByteView datagram;
    ModelAnswer& answer;
    ModuleSettings& module() const { return model.modules[index]; }

    discovery::Reply operator()(const discovery::SearchRequest&) const
    {
        return discovery::search_answer(module(), datagram);
    }
    discovery::Reply operator()(const discovery::ReadRequest&) const
    {
        return discovery::config_answer(module(), datagram);
    }
    discovery::Reply operator()(const discovery::WriteRequest& write) const
    {
        if (model.strict_writes)
            answer.refusal = discovery::refusal_text(discovery::refusal_reasons(write.block));
        if (!answer.refusal.empty())
            return discovery::WriteRefused{module().mac, discovery::write_echo(datagram)};
        discovery::store_block(module(), write.block);
        answer.changed = true;
        return discovery::WriteAck{module().mac, discovery::write_echo(datagram)};
    }
    discovery::Reply operator()(const discovery::ResetRequest&) const
    {
        const std::vector<ModuleSettings>& defaults = model.factory;
        restore_factory(module(), index < defaults.size() ? defaults[index] : ModuleSettings{});
        answer.changed = true;
        return discovery::ResetAck{module().mac, discovery::answer_head(datagram)};
    }
};

discovery::Reply NetworkModel::answer_one(std::size_t index,
                                          const discovery::Request& request,
                                          ByteView datagram,
                                          ModelAnswer& answer)
{
    return std::visit(Answering{*this, index, datagram, answer}, request);
}

NetworkModel make_network_model(int count,
                                const Mac& mac_base,
                                const Ipv4& ip_base,
                                const ModuleFactory& factory)
{
    NetworkModel model;
    std::uint64_t mac = 0;
    for (std::uint8_t b : mac_base)
        mac = (mac << 8) | b;
    std::uint32_t ip = read_be32(ip_base, 0);
    ModuleSettings pattern;
    pattern.name = factory.name;
    pattern.hardware_version = factory.hardware_version;
    pattern.software_version = factory.software_version;
    pattern.gateway = factory.gateway.value_or(Ipv4{ip_base[0], ip_base[1], ip_base[2], 1});
    // Where the PC usually is on a segment set up for the demo: the .100 host of the same /24.
    pattern.destination_ip = Ipv4{ip_base[0], ip_base[1], ip_base[2], 100};
    for (int i = 0; i < count; ++i) {
        ModuleSettings module = pattern;
        for (std::size_t b = 0; b < 6; ++b)
            module.mac[b] = static_cast<std::uint8_t>(mac >> (8 * (5 - b)));
        for (std::size_t b = 0; b < 4; ++b)
            module.ip[b] = static_cast<std::uint8_t>(ip >> (8 * (3 - b)));
        module.device_index = static_cast<std::uint8_t>(i);
        model.modules.push_back(module);
        ++mac;
        ++ip;
    }
    model.factory = model.modules;
    return model;
}

void to_json(nlohmann::json& json, const ModuleSettings& m)
{
    json = {{"mac", mac_text(m.mac)},
            {"device_type", m.device_type},
            {"device_subtype", m.device_subtype},
            {"device_index", m.device_index},
            {"hardware_version", m.hardware_version},
            {"software_version", m.software_version},
            {"name", m.name},
            {"ip", ipv4_text(m.ip)},
            {"gateway", ipv4_text(m.gateway)},
            {"mask", ipv4_text(m.mask)},
            {"dhcp", m.dhcp},
            {"port_enabled", m.port_enabled},
            {"mode", m.mode},
            {"random_local_port", m.random_local_port},
            {"local_port", m.local_port},
            {"destination_ip", ipv4_text(m.destination_ip)},
            {"destination_port", m.destination_port},
            {"baud", m.baud},
            {"data_bits", m.data_bits},
            {"stop_bits", m.stop_bits},
            {"parity", m.parity},
            {"serial_rest", m.serial_rest},
            {"block", block_text(m.block)}};
    // JSON text is UTF-8, but a write may leave any bytes in the name (GBK from a Chinese tool);
    // those are kept as hex pairs, so that saving neither throws nor changes them.
    if (!is_utf8(m.name)) {
        json.erase("name");
        json["name_hex"] = hex_bytes_text(
            ByteView(reinterpret_cast<const std::uint8_t*>(m.name.data()), m.name.size()));
    }
}

void refuse_unknown_module_key(const JsonAt& module)
{
    // web_port: files of earlier versions name it; it is read and dropped. controller: the
    // command state of the module's controller, which the state file keeps beside it.
    module.only_keys({"controller",
                      "mac",
                      "device_type",
                      "device_subtype",
                      "device_index",
                      "hardware_version",
                      "software_version",
                      "name",
                      "name_hex",
                      "ip",
                      "gateway",
                      "mask",
                      "dhcp",
                      "web_port",
                      "port_enabled",
                      "mode",
                      "random_local_port",
                      "local_port",
                      "destination_ip",
                      "destination_port",
                      "baud",
                      "data_bits",
                      "stop_bits",
                      "parity",
                      "serial_rest",
                      "block"});
}

void from_json(const nlohmann::json& json, ModuleSettings& m)
{
    if (json.contains("mac")) {
        const std::optional<Mac> mac =
            discovery::parse_module_mac(json.at("mac").get<std::string>());
        if (!mac) throw nlohmann::json::other_error::create(501, "bad MAC", &json);
        m.mac = *mac;
    }
    const auto number = [&](const char* key, auto& field) {
        using Field = std::remove_reference_t<decltype(field)>;
        if (json.contains(key)) field = fitting<Field>(json.at(key), key);
    };
    const auto address = [&](const char* key, Ipv4& field) {
        if (json.contains(key)) field = address_from(json.at(key));
    };
    number("device_type", m.device_type);
    number("device_subtype", m.device_subtype);
    number("device_index", m.device_index);
    number("hardware_version", m.hardware_version);
    number("software_version", m.software_version);
    if (json.contains("name")) json.at("name").get_to(m.name);
    if (json.contains("name_hex")) {
        const std::optional<Bytes> name =
            bytes_of_hex_pairs(json.at("name_hex").get<std::string>());
        if (!name) throw nlohmann::json::other_error::create(501, "bad name_hex", &json);
        m.name.assign(name->begin(), name->end());
    }
    address("ip", m.ip);
    address("gateway", m.gateway);
    address("mask", m.mask);
    number("dhcp", m.dhcp);
    // Files of earlier versions name a web port the block has no room for; it is read and dropped.
    std::uint16_t web_port = 0;
    number("web_port", web_port);
    number("port_enabled", m.port_enabled);
    number("mode", m.mode);
    number("random_local_port", m.random_local_port);
    number("local_port", m.local_port);
    address("destination_ip", m.destination_ip);
    number("destination_port", m.destination_port);
    number("baud", m.baud);
    number("data_bits", m.data_bits);
    number("stop_bits", m.stop_bits);
    number("parity", m.parity);
    if (json.contains("serial_rest")) {
        const nlohmann::json& rest = json.at("serial_rest");
        if (!rest.is_array() || rest.size() != m.serial_rest.size())
            throw nlohmann::json::type_error::create(302, "serial_rest needs 9 bytes", &json);
        for (std::size_t i = 0; i < m.serial_rest.size(); ++i)
            m.serial_rest[i] = fitting<std::uint8_t>(rest[i], "serial_rest");
    }
    if (json.contains("block")) m.block = block_from(json.at("block"));
}

void to_json(nlohmann::json& json, const NetworkModel& model)
{
    json = {{"modules", model.modules}};
}

void from_json(const nlohmann::json& json, NetworkModel& model)
{
    json.at("modules").get_to(model.modules);
}

} // namespace zk::sim
