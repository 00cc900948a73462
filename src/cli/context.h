#pragma once
// What every zkctl command is given: the options shared by all commands, where its output
// goes, and the ways to reach controllers with them.
#include <iosfwd>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "base/adapter_source.h"
#include "base/ports.h"
#include "cli/config_client.h"
#include "cli/event_wait.h"
#include "cli/hs3_client.h"
#include "cli/outcome.h"

namespace zk::cli {

struct Io
{
    std::ostream& out;
    std::ostream& err;
    bool err_is_terminal = false; // a progress bar is drawn only on a terminal
    AdapterSource* adapters = nullptr;
};

struct Globals
{
    bool json = false;
    double timeout_seconds = 1.0;
    int retries = 2;
    std::string adapter; // empty: the system's default route
    Ports ports;
};

struct Context
{
    Io& io;
    Globals globals;
    int status = exit_ok; // the exit status when the command returns normally

    Timing timing() const;
    // The result: JSON with --json, the human text otherwise.
    void print(const nlohmann::ordered_json& result, const std::string& human) const;
    // A line on stderr ("zkctl: ...").
    void warn(const std::string& line) const;
    Hs3Target target(const std::string& host) const;
    std::unique_ptr<Hs3Client> controller(const std::string& host) const;
    std::unique_ptr<ConfigClient> modules() const;
    // The adapter named by --adapter, else the first one with an IPv4 address; a local error
    // when there is none.
    Adapter adapter() const;
    // Raises the exit status to `code` unless it is already as bad: over several controllers
    // the worst outcome is the command's (local error over refused over no answer).
    void fail_with(int code);
};

} // namespace zk::cli
