#include "cli/found_controllers.h"

#include <algorithm>
#include <map>

#include "base/ipv4_text.h"
#include "base/printable.h"
#include "cli/table.h"
#include "cli/values.h"

namespace zk::cli {

namespace {

std::vector<std::string> cells(const FoundController& row)
{
    std::vector<std::string> out{mac_text(row.mac), ipv4_text(row.ip)};
    if (row.parameters) {
        const discovery::NetworkParameters& p = *row.parameters;
        for (const std::string& cell : {ipv4_text(p.mask), ipv4_text(p.gateway),
                                        ipv4_text(p.server_ip), std::to_string(p.port)})
            out.push_back(cell);
    } else {
        out.insert(out.end(), 4, "");
    }
    out.push_back(row.module_name);
    out.push_back(row.module_version);
    out.push_back(row.shares_ip ? "yes" : "");
    out.push_back(row.other_ips.empty() ? "" : "yes");
    return out;
}

const std::vector<std::string> columns = {"mac",          "ip",           "mask", "gateway",
                                          "server",       "port",         "name", "version",
                                          "duplicate_ip", "duplicate_mac"};

// The columns the JSON writes as booleans.
constexpr std::size_t flag_columns = 2;

} // namespace

nlohmann::ordered_json parameters_json(const discovery::NetworkParameters& p)
{
    return {{"ip", ipv4_text(p.ip)},
            {"mask", ipv4_text(p.mask)},
            {"gateway", ipv4_text(p.gateway)},
            {"server", ipv4_text(p.server_ip)},
            {"port", p.port}};
}

std::vector<FoundController> found_from(const std::vector<discovery::SearchReply>& replies)
{
    std::vector<FoundController> rows;
    std::map<Bytes, std::size_t> seen;
    for (const discovery::SearchReply& reply : replies) {
        const discovery::SearchReply* found = &reply;
        Bytes mac(found->mac.begin(), found->mac.end());
        if (const auto first = seen.find(mac); first != seen.end()) {
            FoundController& row = rows[first->second];
            if (found->ip != row.ip && std::find(row.other_ips.begin(), row.other_ips.end(),
                                                 found->ip) == row.other_ips.end())
                row.other_ips.push_back(found->ip);
            continue;
        }
        seen.emplace(mac, rows.size());
        // The name is whatever bytes the controller sent; every format prints them escaped.
        const std::string version =
            found->name.empty() ? "" : discovery::version_text(found->version);
        rows.push_back({std::move(mac), found->ip, printable(found->name), version, {}, false, {}});
    }
    return rows;
}

std::string shared_mac_text(const FoundController& row)
{
    if (row.other_ips.empty()) return "";
    std::string text = mac_text(row.mac) + " answers from " +
                       std::to_string(row.other_ips.size() + 1) + " addresses (" +
                       ipv4_text(row.ip);
    for (const discovery::Ipv4& ip : row.other_ips)
        text += ", " + ipv4_text(ip);
    return text + ")";
}

void complete(std::vector<FoundController>& rows,
              const std::map<Bytes, discovery::ConfigReply>& blocks)
{
    std::map<discovery::Ipv4, int> users;
    for (FoundController& row : rows) {
        if (const auto block = blocks.find(row.mac); block != blocks.end())
            row.parameters = block->second.block.network;
        ++users[row.ip];
    }
    for (FoundController& row : rows)
        row.shares_ip = users[row.ip] > 1;
}

nlohmann::ordered_json to_json(const FoundController& row)
{
    const std::vector<std::string> values = cells(row);
    nlohmann::ordered_json json;
    for (std::size_t i = 0; i + flag_columns < columns.size(); ++i) {
        if (columns[i] == "port" && row.parameters)
            json["port"] = row.parameters->port;
        else
            json[columns[i]] =
                values[i].empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(values[i]);
    }
    json["duplicate_ip"] = row.shares_ip;
    json["duplicate_mac"] = !row.other_ips.empty();
    return json;
}

std::string to_csv(const std::vector<FoundController>& rows)
{
    std::vector<std::vector<std::string>> lines{columns};
    for (const FoundController& row : rows)
        lines.push_back(cells(row));
    return csv_text(lines);
}

std::string to_table(const std::vector<FoundController>& rows)
{
    std::vector<std::vector<std::string>> lines{columns};
    for (const FoundController& row : rows) {
        std::vector<std::string> line = cells(row);
        for (std::string& cell : line)
            if (cell.empty()) cell = "-";
        lines.push_back(std::move(line));
    }
    return aligned_text(lines);
}

} // namespace zk::cli
