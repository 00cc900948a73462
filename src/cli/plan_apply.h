#pragma once
// netcfg apply: a whole segment's network plan, checked whole, then written one controller at a
// time and verified by reading each block back and searching again. site apply and site replace
// write through the same steps.
#include <string>
#include <vector>

#include "cli/context.h"
#include "cli/network_plan.h"

namespace zk::cli {

struct PlanRun
{
    std::string file;
    bool dry_run = false;      // print what would change, send no write
    bool skip_missing = false; // rows whose MAC does not answer are left out, not refused
    bool force = false;        // a MAC that answers from two addresses is written all the same
};

// Reads, checks and (unless a dry run) applies the plan; refuses it whole (usage error, no write
// sent) when any row is wrong.
void apply_plan(Context& context, const PlanRun& run);

// Every controller that answers the search, with the blocks of those the plan names: the others
// are only in the way of an address, and reading thousands of them would take minutes.
std::vector<SegmentController> search_segment(ConfigClient& modules, const Plan& plan);

// Says each problem on stderr and refuses the plan as a whole: nothing was sent.
[[noreturn]] void refuse_plan(Context& context, const std::vector<std::string>& problems);

struct StepResult
{
    std::size_t line;
    Bytes mac;
    StepOutcome outcome;
    std::string reason; // why it is not verified; empty when it is
    std::string remark; // something odd on the way to a verified change
};

// Writes each step whose parameters differ (read-modify-write of the block as it is now, left
// alone when it changed since the check), reads it back, then searches once to see every changed
// controller answer at its new address; one result per step, with a progress bar on a terminal.
std::vector<StepResult>
apply_steps(Context& context, ConfigClient& modules, const PlanCheck& check);

// "a, b, c".
std::string joined(const std::vector<std::string>& parts);

} // namespace zk::cli
