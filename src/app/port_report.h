#pragma once
// Telling the operator that a window's port is held by another program.
#include <string>

#include "view/controls.h"

namespace zk {

// "端口60000已被占用，无法收发数据"
std::string port_taken_message(int port);

// Shows port_taken_message once when the endpoint could not bind; nothing otherwise.
void report_unbound_port(bool bound, int port, MessageBoxes& boxes);

} // namespace zk
