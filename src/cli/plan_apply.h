#pragma once
// netcfg apply: a whole segment's network plan, checked whole, then written one controller at a
// time and verified by reading each block back and searching again.
#include <string>

#include "cli/context.h"

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

} // namespace zk::cli
