#pragma once
// The network modules' configuration face, as zkctl uses it: a search that collects answers
// for the whole time-out, reads of many modules' blocks at once, and a write that waits for the
// module's acknowledgement or refusal. Every request is a broadcast; which answer is whose is
// the answer rule's (discovery/answer_rule), never the sender's address. Waiting and asking again
// are this client's: --timeout and --retries.
#include <map>
#include <optional>
#include <vector>

#include "base/bytes.h"
#include "base/ports.h"
#include "cli/event_wait.h"
#include "discovery/message.h"
#include "net/datagram_endpoint.h"

namespace zk::cli {

struct ConfigTarget
{
    int local_port = find_local_port;     // where the modules' answers arrive
    int remote_port = config_remote_port; // the modules' configuration port
    int interface_index = 0;              // adapter broadcasts leave through; 0 the default route
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
    std::vector<discovery::SearchReply> search(int rounds);

    // The configuration reply of each MAC that answered, keyed by MAC; requests go out a few
    // at a time and the unanswered are asked again up to `retries` times.
    std::map<Bytes, discovery::ConfigReply> read_blocks(const std::vector<Bytes>& macs);

    // Sends the write request and waits for its module's verdict.
    WriteResult write(const discovery::WriteRequest& request);

private:
    void on_datagram(ByteView datagram);
    void broadcast(ByteView datagram);

    DatagramEndpoint endpoint_;
    int remote_port_;
    Timing timing_;
    std::optional<discovery::SearchRequest> searching_;
    std::vector<discovery::SearchReply> search_replies_;
    // Answers wanted: MAC -> its read and the reply (none until it comes).
    std::map<Bytes, std::pair<discovery::ReadRequest, std::optional<discovery::ConfigReply>>>
        blocks_;
    std::optional<discovery::WriteRequest> writing_;
    std::optional<WriteResult> verdict_;
};

} // namespace zk::cli
