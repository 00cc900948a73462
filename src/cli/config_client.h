#pragma once
// The network modules' configuration face, as zkctl uses it: a search that collects answers
// for the whole time-out, reads of many modules' blocks at once, and a write that waits for the
// module's acknowledgement or refusal. Every request is a broadcast; answers are told apart by
// their code and MAC, never by their sender.
#include <map>
#include <optional>
#include <vector>

#include "base/bytes.h"
#include "cli/event_wait.h"
#include "net/datagram_endpoint.h"

namespace zk::cli {

struct ConfigTarget
{
    int local_port = 60000;  // where the modules' answers arrive
    int remote_port = 50000; // the modules' configuration port
    int interface_index = 0; // adapter broadcasts leave through; 0 the default route
};

enum class WriteResult
{
    acknowledged,
    refused,
    no_answer,
};

class ConfigClient
{
public:
    // Binds the local port; throws Exit (local error) when it is taken.
    ConfigClient(const ConfigTarget& target, const Timing& timing);

    // The receive buffer the system granted, in bytes.
    int receive_buffer_size() const { return endpoint_.receive_buffer_size(); }

    // Every search reply that arrives within the time-out, `rounds` searches spread over it.
    std::vector<Bytes> search(int rounds);

    // The configuration block of each MAC that answered, keyed by MAC; requests go out a few
    // at a time and the unanswered are asked again up to `retries` times.
    std::map<Bytes, Bytes> read_blocks(const std::vector<Bytes>& macs);

    // Sends the write request for `mac` and waits for the module's verdict.
    WriteResult write(ByteView mac, ByteView request);

private:
    void on_datagram(ByteView datagram);
    void broadcast(ByteView datagram);

    DatagramEndpoint endpoint_;
    int remote_port_;
    Timing timing_;
    bool searching_ = false;
    std::vector<Bytes> search_replies_;
    std::map<Bytes, Bytes> blocks_; // answers wanted: MAC -> block (empty until it comes)
    Bytes writing_to_;
    std::optional<WriteResult> verdict_;
};

} // namespace zk::cli
