#pragma once
// A school's network plan: one CSV line per controller (mac, then any of ip, mask, gateway,
// server, port), read and checked whole against what a search found before anything is sent.
// Every problem names the file and line, so an installer can fix the spreadsheet in one pass.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "discovery/message.h"

namespace zk::cli {

struct PlanRow
{
    std::size_t line = 0; // 1-based, as an editor shows it
    std::string place;    // where problems are said to be instead of the line ("room A2")
    Bytes mac;
    std::optional<discovery::Ipv4> ip, mask, gateway, server;
    bool server_self = false; // "self": this PC's address on the adapter in use
    std::optional<std::uint16_t> port;
};

struct Plan
{
    std::vector<PlanRow> rows;
    std::vector<std::string> problems; // "FILE:LINE: what is wrong"
};

// Reads the plan's text: a header line naming the columns (others, such as discover's name and
// version, are ignored), blank lines and "#" comments skipped, an empty cell keeping the
// controller's value. Duplicate MACs and two rows giving one IP are problems here already.
Plan read_plan(std::string_view text, std::string_view file);

// A controller as the search and the reads found it: its announced address and its block.
struct SegmentController
{
    Bytes mac;
    discovery::Ipv4 ip{};
    std::optional<discovery::ConfigReply> block; // none when it did not answer a read
    std::vector<discovery::Ipv4> other_ips;      // further addresses the MAC announced
};

// One controller the plan addresses, with what it holds and what it is to hold.
struct PlanStep
{
    const PlanRow* row = nullptr;
    discovery::ConfigReply block; // the configuration reply the write is built on
    discovery::NetworkParameters current, wanted;
};

struct PlanCheck
{
    std::vector<PlanStep> steps;         // in plan order
    std::vector<const PlanRow*> missing; // rows whose MAC did not answer (with --skip-missing)
    std::vector<std::string> problems;
};

struct PlanOptions
{
    std::optional<discovery::Ipv4> self; // this PC's address, for rows whose server is "self"
    std::vector<discovery::Ipv4> own;    // every address of this PC: no controller may take one
    bool skip_missing = false;           // a MAC not found is left out, not a problem
    bool force = false;                  // a MAC that answers from two addresses is written
};

// Checks the plan against the segment: a MAC not found, a MAC that answers from two addresses,
// an IP that a controller the plan leaves alone or this PC already uses, and parameters no
// controller can use. Only the parameters are judged: the rest of a block is the controller's.
PlanCheck check_plan(const Plan& plan,
                     const std::vector<SegmentController>& segment,
                     const PlanOptions& options,
                     std::string_view file);

// "ip 192.168.1.20 → 192.168.1.50" for each field that differs, in column order.
std::vector<std::string> changes(const discovery::NetworkParameters& from,
                                 const discovery::NetworkParameters& to);

// Everything the step's write changes: its fields, then the settings every write sets ("baud
// 9600 → 115200"); empty when the fields stay, as no write is sent then.
std::vector<std::string> write_changes(const PlanStep& step);

} // namespace zk::cli
