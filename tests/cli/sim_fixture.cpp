#include "sim_fixture.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "cli/app.h"

namespace zk::cli::sim_tests {

namespace fs = std::filesystem;

namespace {

fs::path scratch_dir()
{
    return fs::temp_directory_path() / ("zkctl_test_" + std::to_string(::getpid()));
}

} // namespace

cli_sim::cli_sim()
{
    command.bind_address = "127.0.0.1";
    command.hs3_port = 0;
    command.log = true;
    command.model.card_at_reader = 1234567;
    command.model.step_delay_ms = 10;
    network.config_port = 0;
    network.reply_to_sender = true; // loopback has no broadcast back to the asker's port
    modules = sim::make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 1}, {127, 0, 0, 1});
}

cli_sim::~cli_sim()
{
    fs::remove_all(scratch_dir());
}

void cli_sim::start()
{
    const auto count = [this](std::string_view line) {
        if (line.starts_with("<-")) ++requests;
        if (line.starts_with("<-") && line.find("(write configuration") != std::string_view::npos)
            ++writes;
    };
    if (controller_per_module) command.bind_address = "0.0.0.0";
    controller = std::make_unique<sim::CommandFace>(command, sim::ControllerState{}, count,
                                                    controller_per_module ? &modules : nullptr);
    ASSERT_TRUE(controller->is_listening());
    if (lie) {
        liar = std::make_unique<DatagramEndpoint>(0); // broadcasts reach 0.0.0.0 only
        liar->on_datagram([this](ByteView request) {
            ++requests;
            if (request.size() > 16 && request[16] == 0x01) ++writes;
            std::vector<Bytes> replies = modules.handle(request).replies;
            lie(request, replies);
            const Peer asker = liar->received_from();
            for (const Bytes& reply : replies)
                liar->send(asker.address, asker.port, reply);
        });
        ASSERT_TRUE(liar->is_bound());
        return;
    }
    module_face = std::make_unique<sim::NetworkFace>(modules, network, sim::FaultOptions{}, count);
    ASSERT_TRUE(module_face->is_bound());
}

int cli_sim::zkctl(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all{
        "--hs3-port",
        std::to_string(controller->port()),
        "--hs3-local-port",
        "0",
        "--config-port",
        std::to_string(liar ? liar->local_port() : module_face->local_port()),
        "--config-local-port",
        "0",
        "--timeout",
        timeout};
    all.insert(all.end(), arguments.begin(), arguments.end());
    out.str("");
    err.str("");
    Io io{out, err, false, adapters};
    return run(all, io);
}

std::string cli_sim::write_file(const std::string& name, const std::string& text)
{
    const fs::path dir = scratch_dir();
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
}

} // namespace zk::cli::sim_tests
