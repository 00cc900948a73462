#pragma once
// Telling the operator that a window's port is held by another program.
#include <string>

#include "net/dispatcher.h"
#include "view/controls.h"

namespace zk {

// "端口60000已被占用，无法收发数据"
std::string port_taken_message(int port);

// Shows port_taken_message once when the endpoint could not bind; nothing otherwise.
void report_unbound_port(bool bound, int port, MessageBoxes& boxes);

// A window's report of its taken port: told once, at its first showing, after it has painted so
// that the box opens over it.
class PortReport
{
public:
    PortReport(Dispatcher& dispatcher, MessageBoxes& boxes, int port)
        : timer_(dispatcher), boxes_(boxes), port_(port)
    {}
    // The window is on screen; `bound` says whether its link holds the port.
    void shown(bool bound);

private:
    Timer timer_;
    MessageBoxes& boxes_;
    int port_;
    bool shown_before_ = false;
};

} // namespace zk
