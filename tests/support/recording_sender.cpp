#include "support/recording_sender.h"

namespace zk::test {

bool RecordingSender::send(std::string_view address, int port, ByteView data)
{
    sends.push_back({std::string(address), port, Bytes(data.begin(), data.end())});
    return !fail;
}

} // namespace zk::test
