#include "cli/plan_apply.h"

#include <set>

#include "base/file_read.h"
#include "base/ipv4_text.h"
#include "base/values.h"
#include "cli/card_batch.h"
#include "cli/file_text.h"
#include "cli/found_controllers.h"
#include "cli/network_plan.h"
#include "cli/network_write.h"
#include "cli/table.h"
#include "discovery/refusals.h"

namespace zk::cli {

using nlohmann::ordered_json;

namespace {

Plan read_plan_file(Context& context, const std::string& file)
{
    const FileRead read = read_regular_file(utf8_path(file), plan_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read))
        refuse_input(describe(utf8_path(file), *failure));
    Plan plan = read_plan(file_text(std::get<std::string>(read)), file);
    if (!plan.problems.empty()) refuse_plan(context, plan.problems);
    return plan;
}

std::optional<discovery::Ipv4> self_address(const Context& context, const Plan& plan)
{
    for (const PlanRow& row : plan.rows)
        if (row.server_self) {
            const std::string address = context.adapter().first_ipv4;
            if (const auto ip = parse_dotted_ipv4(address)) return *ip;
            throw Exit(exit_local_error, "server self: the adapter has no IPv4 address");
        }
    return std::nullopt;
}

void print_dry_run(Context& context, const PlanCheck& check)
{
    ordered_json json = ordered_json::array();
    std::vector<std::vector<std::string>> lines{{"line", "mac", "changes"}};
    for (const PlanStep& step : check.steps) {
        const std::vector<std::string> fields = write_changes(step);
        lines.push_back({std::to_string(step.row->line), mac_text(step.row->mac),
                         fields.empty() ? "unchanged" : joined(fields)});
        json.push_back({{"line", step.row->line},
                        {"mac", mac_text(step.row->mac)},
                        {"from", parameters_json(step.current)},
                        {"to", parameters_json(step.wanted)},
                        {"changes", fields},
                        {"unchanged", fields.empty()}});
    }
    for (const PlanRow* row : check.missing) {
        lines.push_back({std::to_string(row->line), mac_text(row->mac), "not found, left out"});
        json.push_back({{"line", row->line}, {"mac", mac_text(row->mac)}, {"found", false}});
    }
    context.print(json, aligned_text(lines));
}

StepResult failed(StepResult result, StepOutcome outcome, std::string reason)
{
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

// Read-modify-write of the controller's own block as it is now, then the block read back. A
// controller whose parameters changed since the plan was checked is left as it is.
StepResult write_step(ConfigClient& modules, const PlanStep& step)
{
    const Bytes& mac = step.row->mac;
    const StepResult result{step.row->line, mac, StepOutcome::changed, {}, {}};
    const std::map<Bytes, discovery::ConfigReply> fresh = modules.read_blocks({mac});
    if (fresh.empty()) return failed(result, StepOutcome::no_answer, "no answer to the read");
    const discovery::ConfigReply held = discovery::at_datagram_length(fresh.begin()->second);
    if (const discovery::NetworkParameters& now = held.block.network; now != step.current)
        return failed(result, StepOutcome::refused,
                      "its parameters changed since the check, to " + parameters_json(now).dump() +
                          "; not written");
    const discovery::WriteRequest request = discovery::write_request(held, step.wanted);
    const discovery::NetworkParameters& sent = request.block.network;
    if (const auto reasons = discovery::parameter_refusals(sent); !reasons.empty())
        return failed(result, StepOutcome::refused,
                      "not written: " + discovery::refusal_text(reasons));
    const Written written = write_and_read_back(modules, mac, request, step.current, sent);
    switch (written.outcome) {
    case WriteOutcome::refused:
        return failed(result, StepOutcome::refused, written.reason);
    case WriteOutcome::no_answer:
        return failed(result, StepOutcome::no_answer, written.reason);
    case WriteOutcome::changed:
        break;
    }
    StepResult done = result;
    done.remark = written.remark;
    return done;
}

// One search after all writes: each changed controller must answer it at its new address.
void confirm_by_search(ConfigClient& modules,
                       const PlanCheck& check,
                       std::vector<StepResult>& results)
{
    std::map<Bytes, discovery::Ipv4> answered;
    for (const FoundController& row : found_from(modules.search(3)))
        answered.emplace(row.mac, row.ip);
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].outcome != StepOutcome::changed) continue;
        const discovery::Ipv4& ip = check.steps[i].wanted.ip;
        const auto found = answered.find(results[i].mac);
        if (found == answered.end() || found->second != ip)
            results[i] = failed(results[i], StepOutcome::no_answer,
                                "does not answer a search at " + ipv4_text(ip));
    }
}

void print_summary(Context& context, const std::vector<StepResult>& results, const PlanCheck& check)
{
    std::map<StepOutcome, std::size_t> counts;
    ordered_json problems = ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"line", "mac", "outcome", "changes"}};
    for (std::size_t i = 0; i < results.size(); ++i) {
        const StepResult& r = results[i];
        ++counts[r.outcome];
        const std::string what = joined(write_changes(check.steps[i]));
        rows.push_back(
            {std::to_string(r.line), mac_text(r.mac), std::string(outcome_name(r.outcome))});
        if (!what.empty()) rows.back().push_back(what);
        if (!r.remark.empty())
            context.warn("line " + std::to_string(r.line) + ": " + mac_text(r.mac) + ": " +
                         r.remark);
        if (r.reason.empty()) continue;
        problems.push_back({{"line", r.line}, {"mac", mac_text(r.mac)}, {"reason", r.reason}});
        context.warn("line " + std::to_string(r.line) + ": " + mac_text(r.mac) + ": " + r.reason);
        context.fail_with(exit_status_of(r.outcome));
    }
    for (const PlanRow* row : check.missing) {
        rows.push_back({std::to_string(row->line), mac_text(row->mac), "no_answer", "left out"});
        problems.push_back({{"line", row->line},
                            {"mac", mac_text(row->mac)},
                            {"reason", "did not answer the search; left out"}});
    }
    if (!check.missing.empty()) context.fail_with(exit_no_answer);
    ordered_json summary{{"changed", counts[StepOutcome::changed]},
                         {"unchanged", counts[StepOutcome::unchanged]},
                         {"refused", counts[StepOutcome::refused]},
                         {"no_answer", counts[StepOutcome::no_answer] + check.missing.size()}};
    const std::string human = aligned_text(rows) + key_value_text(summary);
    summary["problems"] = problems;
    context.print(summary, human);
}

} // namespace

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

void refuse_plan(Context& context, const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems)
        context.warn(problem);
    refuse_input("plan refused (" + std::to_string(problems.size()) +
                 (problems.size() == 1 ? " problem" : " problems") + "); nothing was sent");
}

std::vector<SegmentController> search_segment(ConfigClient& modules, const Plan& plan)
{
    const std::vector<FoundController> found = found_from(modules.search(3));
    std::set<Bytes> planned;
    for (const PlanRow& row : plan.rows)
        planned.insert(row.mac);
    std::vector<Bytes> macs;
    for (const FoundController& row : found)
        if (planned.contains(row.mac)) macs.push_back(row.mac);
    const std::map<Bytes, discovery::ConfigReply> blocks = modules.read_blocks(macs);
    std::vector<SegmentController> segment;
    for (const FoundController& row : found) {
        const auto block = blocks.find(row.mac);
        segment.push_back({row.mac, row.ip,
                           block == blocks.end() ? std::nullopt : std::optional(block->second),
                           row.other_ips});
    }
    return segment;
}

std::vector<StepResult> apply_steps(Context& context, ConfigClient& modules, const PlanCheck& check)
{
    std::vector<StepResult> results;
    for (const PlanStep& step : check.steps) {
        if (step.current == step.wanted)
            results.push_back({step.row->line, step.row->mac, StepOutcome::unchanged, {}, {}});
        else
            results.push_back(write_step(modules, step));
        draw_progress(context, results.size(), check.steps.size());
    }
    if (std::any_of(results.begin(), results.end(),
                    [](const StepResult& r) { return r.outcome == StepOutcome::changed; }))
        confirm_by_search(modules, check, results);
    return results;
}

void apply_plan(Context& context, const PlanRun& run)
{
    const Plan plan = read_plan_file(context, run.file);
    const std::optional<discovery::Ipv4> self = self_address(context, plan);
    std::unique_ptr<ConfigClient> modules = context.modules();
    const std::vector<SegmentController> segment = search_segment(*modules, plan);
    const PlanOptions options{self, own_addresses(), run.skip_missing, run.force};
    const PlanCheck check = check_plan(plan, segment, options, run.file);
    if (!check.problems.empty()) refuse_plan(context, check.problems);
    for (const PlanRow* row : check.missing)
        context.warn(run.file + ":" + std::to_string(row->line) + ": " + mac_text(row->mac) +
                     " did not answer; left out");
    if (run.dry_run) {
        print_dry_run(context, check);
        return;
    }
    print_summary(context, apply_steps(context, *modules, check), check);
}

} // namespace zk::cli
