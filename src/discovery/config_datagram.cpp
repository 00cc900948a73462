#include "discovery/config_datagram.h"

#include <algorithm>

#include "discovery/layout.h"
#include "discovery/parameter_block.h"

namespace zk::discovery {

bool comes_in_bursts(ByteView datagram)
{
    return datagram.size() >= datagram_length &&
           std::equal(flag_letters_checked.begin(), flag_letters_checked.end(), datagram.begin()) &&
           datagram[offset::code] == search_reply_code;
}

} // namespace zk::discovery
