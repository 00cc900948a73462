#include "base/receive_buffer.h"

namespace zk {

std::string receive_buffer_warning(int granted, int asked)
{
    constexpr long needed = long{answers_to_hold} * buffer_bytes_per_answer;
    if (granted <= 0 || granted >= needed) return {};
    return "the system granted a receive buffer of " + std::to_string(granted) + " bytes; " +
           std::to_string(answers_to_hold) + " controllers answering one search need about " +
           std::to_string(needed) +
           ", so answers may be lost. Let it grant more (as root): sysctl -w "
           "net.core.rmem_max=" +
           std::to_string(asked);
}

} // namespace zk
