#pragma once
// The four UDP ports of the program. The shipped program always uses these values; tests
// construct windows on free ports instead.

namespace zk {

struct Ports
{
    int find_local = 60000;     // find window's endpoint
    int config_remote = 50000;  // network modules' configuration port (broadcast)
    int settings_local = 16006; // settings window's endpoint
    int hs3_remote = 16006;     // controllers' command port
};

} // namespace zk
