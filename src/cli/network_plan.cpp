#include "cli/network_plan.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/ipv4_text.h"
#include "base/text_lines.h"
#include "base/values.h"
#include "cli/values.h"
#include "discovery/refusals.h"

namespace zk::cli {

namespace {

using discovery::Ipv4;
using discovery::NetworkParameters;

enum Column : std::size_t
{
    col_mac,
    col_ip,
    col_mask,
    col_gateway,
    col_server,
    col_port,
    column_count,
};

constexpr std::array<std::string_view, column_count> column_names = {"mac",     "ip",     "mask",
                                                                     "gateway", "server", "port"};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The cells of one CSV line; a quoted cell may hold commas and doubled quotes.
std::vector<std::string> csv_cells(std::string_view line)
{
    std::vector<std::string> cells(1);
    bool in_quotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (in_quotes && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            cells.back() += line[++i];
        else if (c == '"')
            in_quotes = !in_quotes;
        else if (c == ',' && !in_quotes)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    for (std::string& cell : cells)
        cell = std::string(trimmed(cell));
    return cells;
}

struct LineReader
{
    std::string_view file;
    std::size_t line;
    std::vector<std::string>& problems;
    std::string_view place = {}; // said instead of the line number when there is one

    void problem(const std::string& what) const
    {
        const std::string where = place.empty() ? std::to_string(line) : " " + std::string(place);
        problems.push_back(std::string(file) + ":" + where + ": " + what);
    }
    std::optional<Ipv4> address(const std::string& cell, std::string_view column) const
    {
        if (cell.empty()) return std::nullopt;
        const std::optional<Ipv4> ip = parse_dotted_ipv4(cell);
        if (!ip)
            problem(std::string(column) + ": expected an IPv4 address like 192.168.1.20, not " +
                    quote_back(cell));
        return ip;
    }
};

// Where each known column stands in the header; column_count for one that is absent.
std::array<std::size_t, column_count> header_positions(const std::vector<std::string>& header)
{
    std::array<std::size_t, column_count> at{};
    at.fill(column_count);
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name = header[i];
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto known = std::find(column_names.begin(), column_names.end(), name);
        if (known != column_names.end() &&
            at[static_cast<std::size_t>(known - column_names.begin())] == column_count)
            at[static_cast<std::size_t>(known - column_names.begin())] = i;
    }
    return at;
}

std::optional<PlanRow> plan_row(const LineReader& in,
                                const std::vector<std::string>& cells,
                                const std::array<std::size_t, column_count>& at)
{
    const auto cell = [&](Column c) { return at[c] < cells.size() ? cells[at[c]] : std::string(); };
    const std::size_t before = in.problems.size();
    PlanRow row{in.line, {}, {}, {}, {}, {}, {}, false, {}};
    if (const std::optional<Bytes> mac = zk::parse_mac(cell(col_mac)))
        row.mac = *mac;
    else
        in.problem("mac: expected a MAC like 84:C2:E4:00:00:01, not " + quote_back(cell(col_mac)));
    row.ip = in.address(cell(col_ip), "ip");
    row.mask = in.address(cell(col_mask), "mask");
    row.gateway = in.address(cell(col_gateway), "gateway");
    row.server_self = cell(col_server) == "self";
    if (!row.server_self) row.server = in.address(cell(col_server), "server");
    if (const std::string port = cell(col_port); !port.empty()) {
        const std::optional<std::uint32_t> number = parse_decimal(port, 65535);
        if (number)
            row.port = static_cast<std::uint16_t>(*number);
        else
            in.problem("port: expected a whole number 0-65535, not " + quote_back(port));
    }
    if (in.problems.size() != before) return std::nullopt;
    return row;
}

// A MAC or an IP given by two rows: the second names the first.
void check_unique(Plan& plan, std::string_view file)
{
    std::map<Bytes, std::size_t> macs;
    std::map<Ipv4, std::size_t> ips;
    for (const PlanRow& row : plan.rows) {
        const LineReader in{file, row.line, plan.problems};
        if (const auto [first, fresh] = macs.emplace(row.mac, row.line); !fresh)
            in.problem("mac: " + mac_text(row.mac) + " is already planned on line " +
                       std::to_string(first->second));
        if (!row.ip) continue;
        if (const auto [first, fresh] = ips.emplace(*row.ip, row.line); !fresh)
            in.problem("ip: " + ipv4_text(*row.ip) + " is already given on line " +
                       std::to_string(first->second));
    }
}

} // namespace

Plan read_plan(std::string_view text, std::string_view file)
{
    Plan plan;
    std::optional<std::array<std::size_t, column_count>> at;
    for (const TextLine& text_line : text_lines(text)) {
        const std::string_view line = trimmed(text_line.text);
        const LineReader in{file, text_line.number, plan.problems};
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string> cells = csv_cells(line);
        if (at) {
            if (std::optional<PlanRow> row = plan_row(in, cells, *at)) plan.rows.push_back(*row);
            continue;
        }
        at = header_positions(cells);
        if ((*at)[col_mac] == column_count) {
            in.problem("the header must name a mac column (mac,ip,mask,gateway,server,port)");
            return plan;
        }
    }
    if (!at)
        plan.problems.push_back(std::string(file) + ": no header line (mac,ip,...)");
    else if (plan.rows.empty() && plan.problems.empty())
        plan.problems.push_back(std::string(file) + ": no controller rows under the header");
    check_unique(plan, file);
    return plan;
}

namespace {

NetworkParameters
wanted_of(const PlanRow& row, NetworkParameters p, const std::optional<Ipv4>& self)
{
    p.ip = row.ip.value_or(p.ip);
    p.mask = row.mask.value_or(p.mask);
    p.gateway = row.gateway.value_or(p.gateway);
    p.server_ip = row.server_self && self ? *self : row.server.value_or(p.server_ip);
    p.port = row.port.value_or(p.port);
    return p;
}

// The address of every controller whose address the plan leaves as it is, with its MAC.
std::map<Ipv4, Bytes> kept_addresses(const Plan& plan,
                                     const std::vector<SegmentController>& segment)
{
    std::map<Bytes, const PlanRow*> planned;
    for (const PlanRow& row : plan.rows)
        planned.emplace(row.mac, &row);
    std::map<Ipv4, Bytes> kept;
    for (const SegmentController& controller : segment) {
        const auto row = planned.find(controller.mac);
        if (row == planned.end() || !row->second->ip || *row->second->ip == controller.ip)
            kept.emplace(controller.ip, controller.mac);
    }
    return kept;
}

// The problems of one found controller's row beyond its MAC: what the write would set and where
// its address would clash.
void check_step(const LineReader& in,
                const PlanStep& step,
                const SegmentController& controller,
                const std::map<Ipv4, Bytes>& kept,
                const PlanOptions& options)
{
    const PlanRow& row = *step.row;
    if (!controller.other_ips.empty() && !options.force) {
        std::string addresses = ipv4_text(controller.ip);
        for (const Ipv4& ip : controller.other_ips)
            addresses += ", " + ipv4_text(ip);
        in.problem("mac: " + mac_text(row.mac) + " answers from " + addresses +
                   "; two devices share it and a write would reach both (--force writes it)");
    }
    const auto user = row.ip ? kept.find(*row.ip) : kept.end();
    if (user != kept.end() && user->second != row.mac)
        in.problem("ip: " + ipv4_text(*row.ip) + " is the address of " + mac_text(user->second) +
                   ", which the plan does not change");
    if (row.ip && std::find(options.own.begin(), options.own.end(), *row.ip) != options.own.end())
        in.problem("ip: " + ipv4_text(*row.ip) + " is this PC's address");
    if (step.current == step.wanted) return; // nothing is sent
    const auto reasons = discovery::parameter_refusals(step.wanted);
    if (!reasons.empty())
        in.problem("no controller can use these parameters: " + discovery::refusal_text(reasons));
}

} // namespace

PlanCheck check_plan(const Plan& plan,
                     const std::vector<SegmentController>& segment,
                     const PlanOptions& options,
                     std::string_view file)
{
    PlanCheck check;
    std::map<Bytes, const SegmentController*> found;
    for (const SegmentController& controller : segment)
        found.emplace(controller.mac, &controller);
    const std::map<Ipv4, Bytes> kept = kept_addresses(plan, segment);
    for (const PlanRow& row : plan.rows) {
        const LineReader in{file, row.line, check.problems, row.place};
        const auto controller = found.find(row.mac);
        if (controller == found.end() || !controller->second->block) {
            if (options.skip_missing)
                check.missing.push_back(&row);
            else
                in.problem("mac: " + mac_text(row.mac) +
                           (controller == found.end() ? " did not answer the search"
                                                      : " did not answer a read of its block") +
                           " (--skip-missing leaves it out)");
            continue;
        }
        PlanStep step{&row, discovery::at_datagram_length(*controller->second->block), {}, {}};
        step.current = step.block.block.network;
        step.wanted = wanted_of(row, step.current, options.self);
        check_step(in, step, *controller->second, kept, options);
        check.steps.push_back(std::move(step));
    }
    return check;
}

std::vector<std::string> changes(const NetworkParameters& from, const NetworkParameters& to)
{
    std::vector<std::string> out;
    const auto field = [&](std::string_view name, const Ipv4& a, const Ipv4& b) {
        if (a != b) out.push_back(std::string(name) + " " + ipv4_text(a) + " → " + ipv4_text(b));
    };
    field("ip", from.ip, to.ip);
    field("mask", from.mask, to.mask);
    field("gateway", from.gateway, to.gateway);
    field("server", from.server_ip, to.server_ip);
    if (from.port != to.port)
        out.push_back("port " + std::to_string(from.port) + " → " + std::to_string(to.port));
    return out;
}

std::vector<std::string> write_changes(const PlanStep& step)
{
    std::vector<std::string> out = changes(step.current, step.wanted);
    if (out.empty()) return out;
    const discovery::WriteRequest request = discovery::write_request(step.block, step.wanted);
    for (std::string& constant :
         discovery::serial_changes(step.block.block.serial, request.block.serial))
        out.push_back(std::move(constant));
    return out;
}

} // namespace zk::cli
