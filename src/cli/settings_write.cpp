#include "cli/settings_write.h"

#include <algorithm>

namespace zk::cli {

std::string send_writes(Hs3Client& client, const std::vector<PlannedWrite>& plan)
{
    for (const PlannedWrite& write : plan) {
        if (!client.ask(write.request)) return "no answer to the " + write.what + " write";
    }
    return "";
}

std::map<std::string, std::string> send_writes_to_all(Hs3Batch& batch,
                                                      const std::vector<std::string>& addresses,
                                                      const std::vector<PlannedWrite>& plan)
{
    std::map<std::string, std::string> problems;
    std::vector<std::string> going = addresses;
    for (const PlannedWrite& write : plan) {
        if (going.empty()) break;
        const std::map<std::string, protocol::Reply> answered = batch.ask_all(going, write.request);
        std::erase_if(going, [&](const std::string& address) {
            if (answered.contains(address)) return false;
            problems.emplace(address, "no answer to the " + write.what + " write");
            return true;
        });
    }
    return problems;
}

std::vector<PlannedWrite> writes_for(const RoomSettings& wanted,
                                     const std::vector<FieldChange>& changes)
{
    std::vector<PlannedWrite> writes;
    for (PlannedWrite& write : restore_plan(wanted, false)) {
        // "timings.warm_up" is written by the timings write, with the other two times.
        const bool changed = std::any_of(changes.begin(), changes.end(), [&](const FieldChange& c) {
            return c.field.substr(0, c.field.find('.')) == write.what;
        });
        if (changed) writes.push_back(std::move(write));
    }
    return writes;
}

SettingsApplied apply_settings(Hs3Client& client, const RoomSettings& wanted)
{
    SettingsApplied applied;
    try {
        applied.changes = restore_changes(read_room(client), wanted, false);
        if (applied.changes.empty()) return applied;
        applied.reason = send_writes(client, writes_for(wanted, applied.changes));
        if (!applied.reason.empty()) {
            applied.outcome = StepOutcome::no_answer;
            return applied;
        }
        const std::vector<FieldChange> left = restore_changes(read_room(client), wanted, false);
        applied.outcome = left.empty() ? StepOutcome::changed : StepOutcome::refused;
        if (!left.empty())
            applied.reason = "written, but it holds " + left.front().field + " " +
                             left.front().from + " instead of " + left.front().to;
    } catch (const Exit& error) {
        if (error.code() == exit_local_error) throw;
        applied.outcome =
            error.code() == exit_no_answer ? StepOutcome::no_answer : StepOutcome::refused;
        applied.reason = error.what();
    }
    return applied;
}

} // namespace zk::cli
