#pragma once
// A controller's settings written as restore writes them, for restore and for a school's rooms:
// only a room's writes are checked by reading the settings back, since a write's answer says only
// that the frame arrived.
#include <map>
#include <string>
#include <vector>

#include "cli/hs3_batch.h"
#include "cli/outcome.h"
#include "cli/room_settings.h"

namespace zk::cli {

// Sends each write and waits for its answer; "" when every write was answered, else the write
// that was not ("no answer to the volume write").
std::string send_writes(Hs3Client& client, const std::vector<PlannedWrite>& plan);

// The same to many controllers side by side: each write goes to all of them at once, so they take
// the time of the slowest, not of all in turn. A controller that leaves a write unanswered gets
// no more; what went wrong, by address, for those alone.
std::map<std::string, std::string> send_writes_to_all(Hs3Batch& batch,
                                                      const std::vector<std::string>& addresses,
                                                      const std::vector<PlannedWrite>& plan);

// The writes of restore_plan(wanted) that change one of these fields, in the plan's order.
std::vector<PlannedWrite> writes_for(const RoomSettings& wanted,
                                     const std::vector<FieldChange>& changes);

struct SettingsApplied
{
    StepOutcome outcome = StepOutcome::unchanged;
    std::vector<FieldChange> changes; // what differed, as "field now → wanted"
    std::string reason;               // why it is not verified; empty when it is
};

// Reads the controller's settings, writes those that differ from `wanted` (its ID included) and
// reads them back: changed only when it then holds `wanted`. A local error (the port taken) is
// thrown, whatever else goes wrong is the outcome.
SettingsApplied apply_settings(Hs3Client& client, const RoomSettings& wanted);

} // namespace zk::cli
