#pragma once
// What every zkctl command is given: the options shared by all commands, where its output
// goes, and the ways to reach controllers with them.
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "base/adapter_source.h"
#include "base/ports.h"
#include "cli/adapter_choice.h"
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
    std::string adapter; // empty: the first adapter up with an IPv4 address
    std::string output;  // --output: the result goes to this file, and only on success
    Ports ports;
};

struct Context
{
    Io& io;
    Globals globals;
    int status = exit_ok; // the exit status when the command returns normally
    mutable std::optional<AdapterChoice> chosen_adapter{}; // once per run: its note is said once
    std::ostringstream held_output{}; // the result while --output waits for the command's end

    Timing timing() const;
    // Where the result goes: stdout, or with --output a buffer that becomes the file.
    std::ostream& out();
    // The result: JSON with --json, the human text otherwise.
    void print(const nlohmann::ordered_json& result, const std::string& human);
    // One controller's values: with --json an object that names the host first, otherwise a
    // "key: value" line each.
    void print_values(const std::string& host, const nlohmann::ordered_json& values);
    // A line on stderr ("zkctl: ...").
    void warn(const std::string& line) const;
    Hs3Target target(const std::string& host) const;
    std::unique_ptr<Hs3Client> controller(const std::string& host) const;
    std::unique_ptr<ConfigClient> modules() const;
    // The adapter named by --adapter, else the first one up with an IPv4 address (saying so on
    // stderr when there were several); a local error when there is none.
    Adapter adapter() const;
    // Raises the exit status to `code` unless it is already as bad: over several controllers
    // the worst outcome is the command's (local error over refused over no answer).
    void fail_with(int code);
};

} // namespace zk::cli
