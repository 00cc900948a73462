#include "sim/network_module.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <type_traits>

#include "discovery/find_handlers.h"
#include "runtime/text.h"
#include "sim/controller_state.h"

namespace zk::sim {

namespace {

using discovery::ConfigCode;
namespace off = discovery::offset;

constexpr std::size_t name_at = 35;
constexpr std::size_t name_room = 21; // 35-55, the last byte always zero
constexpr std::size_t config_mac_at = 56;

bool flagged(ByteView request)
{
    const std::string_view flag = discovery::config_flag;
    return request.size() >= discovery::config_length &&
           std::equal(flag.begin(), flag.end(), request.begin());
}

bool addressed_to(ByteView request, const ModuleSettings& module)
{
    return std::equal(module.mac.begin(), module.mac.end(), request.begin() + off::mac);
}

void put(Bytes& block, std::size_t at, ByteView bytes)
{
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
}

template <std::size_t N> std::array<std::uint8_t, N> take(ByteView block, std::size_t at)
{
    std::array<std::uint8_t, N> out{};
    std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
    return out;
}

Bytes flagged_datagram(ConfigCode code, const Mac& mac)
{
    return discovery::config_request(code, mac);
}

// Takes what a write carries; identity, MAC and port index stay the module's own.
void store_write(ModuleSettings& module, ByteView block)
{
    const auto name = block.subspan(name_at, name_room - 1);
    module.name.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
    module.ip = take<4>(block, 62);
    module.gateway = take<4>(block, 66);
    module.mask = take<4>(block, 70);
    module.dhcp = block[74];
    module.web_port = static_cast<std::uint16_t>(read_le16(block, 75));
    module.port_enabled = block[170];
    module.mode = block[171];
    module.random_local_port = block[172];
    module.local_port = static_cast<std::uint16_t>(read_le16(block, 173));
    module.destination_ip = take<4>(block, 175);
    module.destination_port = static_cast<std::uint16_t>(read_le16(block, 179));
    module.baud = read_le32(block, 181);
    module.data_bits = block[185];
    module.stop_bits = block[186];
    module.parity = block[187];
    module.serial_rest = take<9>(block, 188);
}

std::string dotted(const Ipv4& address)
{
    return discovery::dotted(address, 0);
}

Ipv4 address_from(const nlohmann::json& json)
{
    const std::optional<Ipv4> address = discovery::parse_ipv4(json.get<std::string>());
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

Bytes search_reply(const ModuleSettings& module)
{
    Bytes reply = flagged_datagram(ConfigCode::search_reply, module.mac);
    put(reply, off::search_ip, module.ip);
    const std::size_t length = std::min(module.name.size(), name_room - 1);
    std::copy_n(module.name.begin(), length, reply.begin() + 34);
    reply[34 + length + 1] = module.software_version; // after the terminating zero
    return reply;
}

Bytes module_block(const ModuleSettings& module, ConfigCode code)
{
    Bytes block = flagged_datagram(code, module.mac);
    put(block, 30,
        Bytes{module.device_type, module.device_subtype, module.device_index,
              module.hardware_version, module.software_version});
    std::copy_n(module.name.begin(), std::min(module.name.size(), name_room - 1),
                block.begin() + name_at);
    put(block, config_mac_at, module.mac);
    put(block, 62, module.ip);
    put(block, 66, module.gateway);
    put(block, 70, module.mask);
    block[74] = module.dhcp;
    write_le(block, 75, module.web_port, 2);
    block[169] = 1;
    block[170] = module.port_enabled;
    block[171] = module.mode;
    block[172] = module.random_local_port;
    write_le(block, 173, module.local_port, 2);
    put(block, 175, module.destination_ip);
    write_le(block, 179, module.destination_port, 2);
    write_le(block, 181, module.baud, 4);
    block[185] = module.data_bits;
    block[186] = module.stop_bits;
    block[187] = module.parity;
    put(block, 188, module.serial_rest);
    return block;
}

ModelAnswer NetworkModel::handle(ByteView request)
{
    ModelAnswer answer;
    if (!flagged(request)) return answer;
    const auto code = static_cast<ConfigCode>(request[off::code]);
    for (ModuleSettings& module : modules) {
        if (code == ConfigCode::search_request) {
            answer.replies.push_back(search_reply(module));
        } else if (code == ConfigCode::read_request && addressed_to(request, module)) {
            answer.replies.push_back(module_block(module, ConfigCode::config_reply));
        } else if (code == ConfigCode::write_request && addressed_to(request, module)) {
            store_write(module, request);
            answer.changed = true;
            answer.replies.push_back(flagged_datagram(ConfigCode::write_ack, module.mac));
        }
    }
    return answer;
}

const ModuleSettings* module_at(const NetworkModel& model, std::string_view local_address)
{
    if (model.modules.empty()) return nullptr;
    const std::optional<Ipv4> address = discovery::parse_ipv4(local_address);
    for (const ModuleSettings& module : model.modules) {
        if (address && module.ip == *address) return &module;
    }
    return &model.modules.front();
}

NetworkModel make_network_model(int count, const Mac& mac_base, const Ipv4& ip_base)
{
    NetworkModel model;
    std::uint64_t mac = 0;
    for (std::uint8_t b : mac_base)
        mac = (mac << 8) | b;
    std::uint32_t ip = read_be32(ip_base, 0);
    for (int i = 0; i < count; ++i) {
        ModuleSettings module;
        for (std::size_t b = 0; b < 6; ++b)
            module.mac[b] = static_cast<std::uint8_t>(mac >> (8 * (5 - b)));
        for (std::size_t b = 0; b < 4; ++b)
            module.ip[b] = static_cast<std::uint8_t>(ip >> (8 * (3 - b)));
        module.device_index = static_cast<std::uint8_t>(i);
        model.modules.push_back(module);
        ++mac;
        ++ip;
    }
    return model;
}

std::optional<Mac> parse_mac(std::string_view text)
{
    const TextArray pieces = split_text(text, ":");
    if (pieces.size() != 6 || text.back() == ':') return std::nullopt;
    Mac mac{};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string& piece = pieces[i];
        if (piece.empty() || piece.size() > 2 ||
            !std::all_of(piece.begin(), piece.end(),
                         [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
            return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(std::stoul(piece, nullptr, 16));
    }
    return mac;
}

std::string mac_text(const Mac& mac)
{
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
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
            {"ip", dotted(m.ip)},
            {"gateway", dotted(m.gateway)},
            {"mask", dotted(m.mask)},
            {"dhcp", m.dhcp},
            {"web_port", m.web_port},
            {"port_enabled", m.port_enabled},
            {"mode", m.mode},
            {"random_local_port", m.random_local_port},
            {"local_port", m.local_port},
            {"destination_ip", dotted(m.destination_ip)},
            {"destination_port", m.destination_port},
            {"baud", m.baud},
            {"data_bits", m.data_bits},
            {"stop_bits", m.stop_bits},
            {"parity", m.parity},
            {"serial_rest", m.serial_rest}};
    // JSON text is UTF-8, but a write may leave any bytes in the name (GBK from a Chinese tool);
    // those are kept as hex pairs, so that saving neither throws nor changes them.
    if (!is_utf8(m.name)) {
        json.erase("name");
        json["name_hex"] = hex_pairs(
            ByteView(reinterpret_cast<const std::uint8_t*>(m.name.data()), m.name.size()));
    }
}

void from_json(const nlohmann::json& json, ModuleSettings& m)
{
    if (json.contains("mac")) {
        const std::optional<Mac> mac = parse_mac(json.at("mac").get<std::string>());
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
    number("web_port", m.web_port);
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
