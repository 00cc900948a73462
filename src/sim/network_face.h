#pragma once
// zksim's network-module face: the module model behind a datagram endpoint on the configuration
// port, answering by broadcast to the PC's port as real modules do, or to the asker.
#include <QObject>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/datagram_endpoint.h"
#include "sim/network_module.h"

namespace zk::sim {

struct NetworkFaceOptions
{
    int count = 1;
    Mac mac_base{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01};
    Ipv4 ip_base{192, 168, 1, 200};
    int config_port = 50000;
    int pc_port = 60000;
    bool reply_to_sender = false;
};

// Takes this face's options out of `args` ("--count 5" or "--count=5") and leaves every other
// argument in place for the rest of the program. On a bad value returns false and says why.
bool take_network_face_options(std::vector<std::string>& args,
                               NetworkFaceOptions& options,
                               std::string& error);

// The lines --help shows for these options.
std::string_view network_face_help();

// Faults applied to every reply: dropped with probability `loss`, held back `delay_ms`, sent a
// second time with probability `duplicate`.
struct ReplyFaults
{
    double loss = 0.0;
    int delay_ms = 0;
    double duplicate = 0.0;
    unsigned seed = 1;
};

class NetworkFace
{
public:
    // Binds the configuration port at once; `model` must outlive the face.
    NetworkFace(NetworkModel& model, const NetworkFaceOptions& options, ReplyFaults faults = {});

    bool is_bound() const { return endpoint_.is_bound(); }
    int local_port() const { return endpoint_.local_port(); }
    // Called after a write changed the model, so the program can keep its state file current.
    void on_change(std::function<void()> handler) { on_change_ = std::move(handler); }

private:
    void answer(ByteView request, const Peer& asker);
    void send(const Bytes& reply, const Peer& to);
    bool chance(double probability);

    NetworkModel& model_;
    NetworkFaceOptions options_;
    ReplyFaults faults_;
    std::mt19937 random_;
    DatagramEndpoint endpoint_;
    std::function<void()> on_change_;
    QObject timers_; // delayed replies die with the face
};

} // namespace zk::sim
