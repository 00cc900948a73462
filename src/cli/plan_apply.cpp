#include "cli/plan_apply.h"

#include "base/file_read.h"
#include "base/ipv4_text.h"
#include "base/values.h"
#include "cli/card_batch.h"
#include "cli/file_text.h"
#include "cli/found_controllers.h"
#include "cli/network_plan.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

enum class StepOutcome
{
    changed,
    unchanged,
    refused,   // by the module, or it holds other values than written
    no_answer, // to the write, the read-back or the search after
};

struct Result
{
    std::size_t line;
    Bytes mac;
    StepOutcome outcome;
    std::string reason; // why it is not verified; empty when it is
};

[[noreturn]] void refuse_plan(Context& context, const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems)
        context.warn(problem);
    refuse_input("plan refused (" + std::to_string(problems.size()) +
                 (problems.size() == 1 ? " problem" : " problems") + "); nothing was sent");
}

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

std::vector<SegmentController> search_segment(ConfigClient& modules)
{
    const std::vector<FoundController> found = found_from(modules.search(3));
    std::vector<Bytes> macs;
    for (const FoundController& row : found)
        macs.push_back(row.mac);
    const std::map<Bytes, Bytes> blocks = modules.read_blocks(macs);
    std::vector<SegmentController> segment;
    for (const FoundController& row : found) {
        const auto block = blocks.find(row.mac);
        segment.push_back(
            {row.mac, row.ip, block == blocks.end() ? std::nullopt : std::optional(block->second)});
    }
    return segment;
}

void print_dry_run(Context& context, const PlanCheck& check)
{
    ordered_json json = ordered_json::array();
    std::vector<std::vector<std::string>> lines{{"line", "mac", "changes"}};
    for (const PlanStep& step : check.steps) {
        const std::vector<std::string> fields = changes(step.current, step.wanted);
        std::string text;
        for (const std::string& field : fields)
            text += (text.empty() ? "" : ", ") + field;
        lines.push_back({std::to_string(step.row->line), mac_text(step.row->mac),
                         text.empty() ? "unchanged" : text});
        json.push_back({{"line", step.row->line},
                        {"mac", mac_text(step.row->mac)},
                        {"from", parameters_json(step.current)},
                        {"to", parameters_json(step.wanted)},
                        {"unchanged", fields.empty()}});
    }
    for (const PlanRow* row : check.missing) {
        lines.push_back({std::to_string(row->line), mac_text(row->mac), "not found, left out"});
        json.push_back({{"line", row->line}, {"mac", mac_text(row->mac)}, {"found", false}});
    }
    context.print(json, aligned_text(lines));
}

Result failed(Result result, StepOutcome outcome, std::string reason)
{
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

// Read-modify-write of the controller's own block as it is now, then the block read back.
Result write_step(ConfigClient& modules, const PlanStep& step)
{
    const Bytes& mac = step.row->mac;
    const Result result{step.row->line, mac, StepOutcome::changed, {}};
    const std::map<Bytes, Bytes> fresh = modules.read_blocks({mac});
    if (fresh.empty()) return failed(result, StepOutcome::no_answer, "no answer to the read");
    Bytes block = fresh.begin()->second;
    block.resize(discovery::config_length);
    Bytes request = discovery::write_request(block, mac, step.wanted);
    request.resize(discovery::config_length);
    switch (modules.write(mac, request)) {
    case WriteResult::refused:
        return failed(result, StepOutcome::refused, "refused by the module; nothing changed");
    case WriteResult::no_answer:
        return failed(result, StepOutcome::no_answer, "no acknowledgement of the write");
    case WriteResult::acknowledged:
        break;
    }
    const std::map<Bytes, Bytes> back = modules.read_blocks({mac});
    if (back.empty()) return failed(result, StepOutcome::no_answer, "no answer to the read-back");
    const discovery::NetworkParameters held = parameters_of(back.begin()->second);
    if (held != step.wanted)
        return failed(result, StepOutcome::refused,
                      "acknowledged, but it holds " + parameters_json(held).dump());
    return result;
}

// One search after all writes: each changed controller must answer it at its new address.
void confirm_by_search(ConfigClient& modules, const PlanCheck& check, std::vector<Result>& results)
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
                                "does not answer a search at " + discovery::dotted(ip, 0));
    }
}

std::vector<Result> apply_steps(Context& context, ConfigClient& modules, const PlanCheck& check)
{
    std::vector<Result> results;
    for (const PlanStep& step : check.steps) {
        if (step.current == step.wanted)
            results.push_back({step.row->line, step.row->mac, StepOutcome::unchanged, {}});
        else
            results.push_back(write_step(modules, step));
        draw_progress(context, results.size(), check.steps.size());
    }
    if (std::any_of(results.begin(), results.end(),
                    [](const Result& r) { return r.outcome == StepOutcome::changed; }))
        confirm_by_search(modules, check, results);
    return results;
}

void print_summary(Context& context, const std::vector<Result>& results, const PlanCheck& check)
{
    std::map<StepOutcome, std::size_t> counts;
    ordered_json problems = ordered_json::array();
    for (const Result& r : results) {
        ++counts[r.outcome];
        if (r.reason.empty()) continue;
        problems.push_back({{"line", r.line}, {"mac", mac_text(r.mac)}, {"reason", r.reason}});
        context.warn("line " + std::to_string(r.line) + ": " + mac_text(r.mac) + ": " + r.reason);
        context.fail_with(r.outcome == StepOutcome::refused ? exit_refused : exit_no_answer);
    }
    if (!check.missing.empty()) context.fail_with(exit_no_answer);
    ordered_json summary{{"changed", counts[StepOutcome::changed]},
                         {"unchanged", counts[StepOutcome::unchanged]},
                         {"refused", counts[StepOutcome::refused]},
                         {"no_answer", counts[StepOutcome::no_answer] + check.missing.size()}};
    const std::string human = key_value_text(summary);
    summary["problems"] = problems;
    context.print(summary, human);
}

} // namespace

void apply_plan(Context& context, const PlanRun& run)
{
    const Plan plan = read_plan_file(context, run.file);
    const std::optional<discovery::Ipv4> self = self_address(context, plan);
    std::unique_ptr<ConfigClient> modules = context.modules();
    const std::vector<SegmentController> segment = search_segment(*modules);
    const PlanCheck check = check_plan(plan, segment, self, run.skip_missing, run.file);
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
