#pragma once
// Ctrl-C and termination requests end the event loop normally, so the program closes its
// sockets and files on the way out instead of dying mid-write.

namespace zk::sim {

// Installs SIGINT and SIGTERM handlers that make the running QCoreApplication quit.
void quit_on_signals();

} // namespace zk::sim
