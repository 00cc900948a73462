#pragma once
// Whether the receive buffer the system granted can hold the answers to one search of a large
// segment, and what to tell the operator when it cannot.
#include <string>

namespace zk {

// What one search reply takes in the kernel's receive buffer, bookkeeping included (measured on
// Linux: a 285-byte datagram holds about 1,300 bytes there).
inline constexpr int buffer_bytes_per_answer = 1300;
// Controllers whose answers should survive arriving all at once.
inline constexpr int answers_to_hold = 1000;

// Empty when `granted` bytes hold answers_to_hold answers, or when nothing was granted because
// nothing is bound (that failure is reported on its own). Otherwise one line saying so, with the
// command that lets the system grant `asked` bytes.
std::string receive_buffer_warning(int granted, int asked);

} // namespace zk
