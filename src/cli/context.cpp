#include "cli/context.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "base/text.h"
#include "cli/adapter_choice.h"
#include "cli/outcome.h"
#include "cli/table.h"

namespace zk::cli {

Timing Context::timing() const
{
    const auto ms = static_cast<long long>(std::llround(globals.timeout_seconds * 1000));
    return {milliseconds(ms), globals.retries};
}

std::ostream& Context::out()
{
    return globals.output.empty() ? io.out : held_output;
}

void Context::print(const nlohmann::ordered_json& result, const std::string& human)
{
    if (globals.json)
        out() << result.dump(2) << "\n";
    else
        out() << human;
    out().flush();
}

void Context::print_values(const std::string& host, const nlohmann::ordered_json& values)
{
    nlohmann::ordered_json json{{"host", host}};
    json.update(values);
    print(json, key_value_text(values));
}

void Context::warn(const std::string& line) const
{
    io.err << "zkctl: " << line << "\n";
    io.err.flush();
}

Hs3Target Context::target(const std::string& host) const
{
    return {host, globals.ports.hs3_remote, globals.ports.settings_local};
}

std::unique_ptr<Hs3Client> Context::controller(const std::string& host) const
{
    return std::make_unique<Hs3Client>(target(host), timing());
}

std::unique_ptr<ConfigClient> Context::modules() const
{
    // Without a list of adapters (tests on loopback) the system's routes choose.
    const int interface = io.adapters ? adapter().interface_index : 0;
    return std::make_unique<ConfigClient>(
        ConfigTarget{globals.ports.find_local, globals.ports.config_remote, interface}, timing());
}

Adapter Context::adapter() const
{
    if (!chosen_adapter) {
        const std::vector<Adapter> all = io.adapters ? io.adapters->list() : std::vector<Adapter>{};
        chosen_adapter = choose_adapter(all, globals.adapter);
        if (!chosen_adapter->note.empty()) warn(chosen_adapter->note);
    }
    return chosen_adapter->adapter;
}

void Context::fail_with(int code)
{
    status = std::max(status, code);
}

} // namespace zk::cli
