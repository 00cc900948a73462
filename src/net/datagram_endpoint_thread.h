#pragma once
// The endpoint's socket and the thread that reads it. The thread reads every datagram the moment
// it arrives and keeps it in an inbox until the owner's thread takes it, so a busy owner (a list
// being laid out, a window being painted) never leaves datagrams to overflow the kernel's buffer.
// It sleeps on the socket itself, not in an event loop: in a stream of answers each one costs it
// a wake-up and the reads, no more. The owner is woken as OwnerWakes decides and takes everything
// at once: a wake-up per datagram cost more CPU than everything else done with it. With a large
// buffer the thread itself sleeps out a hold too. Sends go straight out from the caller's thread:
// the system lets one thread send while another reads.
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/datagram_endpoint_wait.h"
#include "net/owner_wakes.h"
#include "net/udp_socket.h"

namespace zk::detail {

class SocketThread
{
public:
    using Clock = std::chrono::steady_clock;
    // `wake` is called on the socket thread when the inbox has datagrams for the owner, as
    // OwnerWakes decides.
    explicit SocketThread(std::function<void()> wake);
    // Stops the thread; datagrams still in the inbox are dropped.
    ~SocketThread();
    SocketThread(const SocketThread&) = delete;
    SocketThread& operator=(const SocketThread&) = delete;

    // Binds (`shared`: other sockets may bind the port too), asks for `receive_buffer` bytes and
    // starts reading; "" when bound, else the system's reason. Called once.
    std::string bind(SocketAddress local, bool shared, int receive_buffer);
    int local_port() const { return socket_.local_port(); }
    // Which datagrams come in bursts and are gathered (none without a test); see OwnerWakes.
    void gather_bursts(bool (*of_a_burst)(ByteView)) { of_a_burst_ = of_a_burst; }
    int receive_buffer_size() const { return receive_buffer_size_; }

    // Everything that arrived since the last call, in arrival order.
    std::vector<Arrived> take();
    // Datagrams the owner is done with, for the socket thread to free: memory freed by one thread
    // and allocated by the other makes both wait on the allocator, and the reading thread cannot
    // afford to wait in a burst.
    void give_back(std::vector<Arrived>&& spent);
    // Sends each datagram to `to`, from `source` when it is not 0 (see UdpSocket::send); true
    // for each whose bytes all went out.
    std::vector<bool> write_all(SocketAddress to,
                                std::span<const ByteView> datagrams,
                                int interface_index,
                                std::uint32_t source = 0);

private:
    void serve();
    void free_spent();
    // Reads what waits, up to a pass's worth; how many datagrams it read.
    int read_waiting();
    void hand_over(bool was_empty, bool of_a_burst);
    // Sleeps out a hold until `due` without watching the socket, when its buffer allows; false
    // when it did not, or a send cut it short.
    bool hold_in_kernel(Clock::time_point due);
    void wake_owner();

    UdpSocket socket_;
    std::mutex send_mutex_;
    std::thread thread_;
    SocketWait wait_;
    std::atomic<bool> stopping_{false};
    OwnerWakes wakes_;
    std::atomic<bool> reply_expected_{false};
    std::atomic<bool (*)(ByteView)> of_a_burst_{nullptr};
    std::atomic<bool> napping_{false}; // asleep in hold_in_kernel()
    std::size_t last_handed_over_ = 0; // datagrams in the inbox at the owner's last wake-up
    std::function<void()> wake_;
    std::mutex inbox_mutex_;
    std::vector<Arrived> inbox_;
    std::vector<std::vector<Arrived>> spent_; // guarded by inbox_mutex_
    Arrived reading_;                         // the socket thread's next datagram
    int receive_buffer_size_ = 0;
};

} // namespace zk::detail
