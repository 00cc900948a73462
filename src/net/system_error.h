#pragma once
// What the system says about a failed socket call, in words an operator can read (and search
// for): errno's text on Linux, the system's own message for a WSAGetLastError code on Windows.
#include <string>

namespace zk {

// The code of the last failed socket call on this thread.
int last_socket_error();

// The system's text for `code`, UTF-8, without a trailing full stop or line break; the number
// alone when the system has no text for it.
// The limit is named where the code says one was reached ("Too many open files (at most 1024
// open files for this program: ulimit -n)"): the operator can raise it.
std::string system_error_text(int code);

// The same for a thread that could not be started (`code` from std::system_error).
std::string thread_limit_text(int code);

} // namespace zk
