#pragma once
// zkctl run in process against simulated controllers on loopback: both faces of zksim on free
// ports, zkctl pointed at them with its hidden port options.
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/adapter_source.h"
#include "cli/outcome.h"
#include "sim/command_face.h"
#include "sim/network_face.h"

namespace zk::cli::sim_tests {

class cli_sim : public ::testing::Test
{
protected:
    cli_sim();
    ~cli_sim() override;

    // Starts both faces with the options as they stand.
    void start();
    // zkctl with these arguments after the port options and --timeout; output in out and err.
    int zkctl(const std::vector<std::string>& arguments);
    const sim::ControllerState& controller_state() const { return controller->state(); }
    const sim::ControllerState& controller_state(std::size_t module) const
    {
        return controller->state_of(module);
    }
    // A file in a fresh directory of its own.
    std::string write_file(const std::string& name, const std::string& text);

    sim::CommandFaceOptions command;
    sim::NetworkFaceOptions network;
    sim::NetworkModel modules;
    // One controller per module, answering at the module's address (bound to 0.0.0.0), instead
    // of one controller answering at 127.0.0.1 whatever the modules say.
    bool controller_per_module = false;
    // When set, the modules answer through this instead of zksim's face: it may change, drop or
    // add to the model's replies, as controllers that lie do.
    std::function<void(ByteView request, std::vector<Bytes>& replies)> lie;
    std::string timeout = "0.3";
    AdapterSource* adapters = nullptr; // what zkctl sees as this PC's adapters
    int requests = 0;                  // datagrams either face received
    int writes = 0;                    // configuration writes the modules received
    std::ostringstream out;
    std::ostringstream err;

private:
    std::unique_ptr<sim::CommandFace> controller;
    std::unique_ptr<sim::NetworkFace> module_face;
    std::unique_ptr<DatagramEndpoint> liar;
};

} // namespace zk::cli::sim_tests
