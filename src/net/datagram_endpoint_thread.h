#pragma once
// The endpoint's socket and the thread that owns it. The thread reads every datagram the moment
// it arrives and keeps it in an inbox until the owner's thread takes it, so a busy owner (a list
// being laid out, a window being painted) never leaves datagrams to overflow the kernel's buffer.
// It sleeps on the socket itself, not in an event loop: in a stream of answers each one costs it
// a wake-up and the reads, no more. While answers stream in, the owner is woken at most once per
// hold time and takes them all at once: a wake-up per datagram cost more CPU than everything else
// done with it. An answer to something just sent, or the first datagram after a quiet spell,
// still wakes it at once.
#include <QNetworkDatagram>
#include <QThread>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "net/datagram_endpoint_wait.h"

class QHostAddress;
class QUdpSocket;

namespace zk::detail {

class SocketThread
{
public:
    using Clock = std::chrono::steady_clock;
    // Shortest time between two wake-ups of the owner while datagrams keep coming unasked.
    static constexpr std::chrono::milliseconds hold_time{5};

    // `wake` is called on the socket thread when the inbox has datagrams for the owner: at once
    // when it stops being empty, or within `hold_time` of that.
    explicit SocketThread(std::function<void()> wake);
    // Stops the thread; datagrams still in the inbox are dropped.
    ~SocketThread();
    SocketThread(const SocketThread&) = delete;
    SocketThread& operator=(const SocketThread&) = delete;

    // Binds (`shared`: other sockets may bind the port too), asks for `receive_buffer` bytes and
    // starts reading; false when the bind fails. Called once.
    bool bind(const QHostAddress& address, quint16 port, bool shared, int receive_buffer);
    int local_port() const { return local_port_; }
    int receive_buffer_size() const { return receive_buffer_size_; }

    // Everything that arrived since the last call, in arrival order.
    std::vector<QNetworkDatagram> take();
    // Datagrams the owner is done with, for the socket thread to free: memory freed by one thread
    // and allocated by the other makes both wait on the allocator, and the reading thread cannot
    // afford to wait in a burst.
    void give_back(std::vector<QNetworkDatagram>&& spent);
    // Sends on the socket thread and waits for the results; true for each datagram whose bytes
    // all went out.
    std::vector<bool> write_all(const std::vector<QNetworkDatagram>& datagrams);

private:
    void run(const QHostAddress& address,
             quint16 port,
             bool shared,
             int receive_buffer,
             std::promise<bool>& bound);
    void serve();
    void run_queued_work();
    void free_spent();
    // Reads what waits, up to a pass's worth; how many datagrams it read.
    int read_waiting();
    void hand_over(bool was_empty);
    void wake_owner();
    void run_there(const std::function<void()>& work);

    std::unique_ptr<QThread> thread_;
    QUdpSocket* socket_ = nullptr; // lives on and belongs to thread_
    SocketWait wait_;
    std::atomic<bool> stopping_{false};
    std::mutex work_mutex_;
    std::deque<std::packaged_task<void()>> work_;
    std::optional<Clock::time_point> hold_until_; // when held datagrams must go to the owner
    Clock::time_point last_wake_{};
    std::atomic<bool> reply_expected_{false};
    std::function<void()> wake_;
    std::mutex inbox_mutex_;
    std::vector<QNetworkDatagram> inbox_;
    std::vector<std::vector<QNetworkDatagram>> spent_; // guarded by inbox_mutex_
    int local_port_ = 0;
    int receive_buffer_size_ = 0;
};

} // namespace zk::detail
