#pragma once
// The school as its controllers hold it now: one search, every configuration block in one read,
// then the settings of every controller side by side, each request sent to all of them at once
// through the one local port they all answer to.
#include <string>
#include <vector>

#include "cli/context.h"
#include "cli/site_file.h"

namespace zk::cli {

struct MissingBlock
{
    std::string mac;
    std::string ip; // as its search reply announced it
};

struct SegmentNow
{
    Site site; // every controller whose configuration block came; rooms are unlabelled
    std::vector<MissingBlock> no_block; // answered the search, but its block never came
};

// Reads the segment, with a progress bar on a terminal; a local error (the port taken) ends it, a
// controller that does not answer is an entry without settings that says why.
SegmentNow read_segment(Context& context);

// Why a controller's settings could not be read, in words an installer can act on: `what` is
// the failure as the client saw it; `local_port` is where zkctl waits for answers (0: any).
std::string unread_reason(const std::string& mac,
                          const discovery::NetworkParameters& network,
                          const std::string& what,
                          int local_port);

} // namespace zk::cli
