#pragma once
// The four UDP ports of the program. The shipped program always uses these values; tests
// construct windows on free ports instead.

namespace zk {

inline constexpr int find_local_port = 60000;     // where the modules' configuration replies arrive
inline constexpr int config_remote_port = 50000;  // the modules' configuration port (broadcast)
inline constexpr int settings_local_port = 16006; // where the controllers' HS3 answers arrive
inline constexpr int hs3_remote_port = 16006;     // the controllers' command port

struct Ports
{
    int find_local = find_local_port;         // find window's endpoint
    int config_remote = config_remote_port;   // network modules' configuration port
    int settings_local = settings_local_port; // settings window's endpoint
    int hs3_remote = hs3_remote_port;         // controllers' command port
};

} // namespace zk
