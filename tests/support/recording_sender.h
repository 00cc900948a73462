#pragma once
// A Sender that keeps every datagram instead of sending it.
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/sender.h"

namespace zk::test {

struct SentDatagram
{
    std::string address;
    int port = 0;
    Bytes data;
};

class RecordingSender : public Sender
{
public:
    // Records the call exactly as made (also when told to fail) and returns !fail.
    bool send(std::string_view address, int port, ByteView data) override;

    std::vector<SentDatagram> sends; // every call, oldest first, failed ones included
    bool fail = false;               // set to make every following send report failure
};

} // namespace zk::test
