#pragma once
// What the simulated module, checking writes, answers to each write of the shared refusal cases,
// with the reasons it gave: the dissector must name the same.
#include <string>
#include <vector>

#include "wireshark/known_frames.h"

namespace zk::test {

struct Refused
{
    Labelled answer;    // the module's 81 or C1 echo, labelled "zksim: <case>"
    std::string reason; // what zksim logged; "" when it stored the block
};

std::vector<Refused> zksim_refusals();

} // namespace zk::test
