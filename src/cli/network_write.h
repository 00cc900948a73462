#pragma once
// One controller's network write as zkctl makes it, for netcfg set and netcfg apply alike: the
// verdict a module sends is only its word, so what the controller holds is always read back
// before anything is said of it.
#include <string>
#include <vector>

#include "base/bytes.h"
#include "cli/config_client.h"
#include "discovery/message.h"

namespace zk::cli {

enum class WriteOutcome
{
    changed,   // it holds the new values
    refused,   // by the module, or it holds other values than written
    no_answer, // to the write or to the read-back
};

struct Written
{
    WriteOutcome outcome = WriteOutcome::changed;
    std::string reason; // why it is not changed; empty when it is
    std::string remark; // something odd on the way to a change; empty when nothing was
};

// Sends `request` to `mac`, then reads its block back whatever the module answered, and says
// what it holds: the values it had (`before`), the ones wanted, or others.
Written write_and_read_back(ConfigClient& modules,
                            const Bytes& mac,
                            const discovery::WriteRequest& request,
                            const discovery::NetworkParameters& before,
                            const discovery::NetworkParameters& wanted);

// This PC's addresses on its network adapters (loopback left out): no controller may take one.
std::vector<discovery::Ipv4> own_addresses();

} // namespace zk::cli
