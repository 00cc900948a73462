#include "net/datagram_endpoint_thread.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "net/system_error.h"

namespace zk::detail {

namespace {

// Datagrams read in one pass before the thread looks for the end again.
constexpr int reads_per_pass = 512;
// After a pass that found this many datagrams waiting, a burst is arriving: the thread keeps
// looking this long before it sleeps. Asleep, each datagram of the burst would have to wake it,
// and on a busy machine a wake-up can come too late for a full buffer.
constexpr int burst_reads = 4;
constexpr std::chrono::microseconds burst_gap{50};
// The thread may sleep out a hold with the socket unwatched when its buffer is at least this
// large, and the last hold, spent awake or asleep, gathered more than one datagram and fewer than
// `slow_stream_most` (about 13,000 a second). A burst comes faster than any buffer holds a
// hold's worth of it, and a hold it was seen in is not slept out.
constexpr int buffer_to_hold_in_kernel = 2 * 1024 * 1024;
constexpr std::size_t slow_stream_most = 64;
#ifdef _WIN32
// Neither on Windows. Under Wine each poll is a round trip to its server that holds up the very
// reads it should hasten, and a hold slept out lets the start of a burst pile up faster than
// Wine's slower reads take it away (20,000 answers: with both, three times as long and a fifth
// fewer kept).
constexpr bool spin_in_bursts = false;
constexpr bool sleep_out_holds = false;
#else
constexpr bool spin_in_bursts = true;
constexpr bool sleep_out_holds = true;
#endif

} // namespace

SocketThread::SocketThread(std::function<void()> wake) : wake_(std::move(wake)) {}

SocketThread::~SocketThread()
{
    if (!thread_.joinable()) return;
    stopping_ = true;
    wait_.wake();
    thread_.join();
}

std::string SocketThread::bind(SocketAddress local, bool shared, int receive_buffer)
{
    if (std::string error = socket_.open(local, shared); !error.empty()) return error;
    socket_.ask_receive_buffer(receive_buffer);
    receive_buffer_size_ = socket_.receive_buffer();
    try {
        thread_ = std::thread([this] { serve(); });
    } catch (const std::system_error& error) {
        // The system's limit on threads is reached: a reason to report, not to end the program.
        return "cannot start the thread that reads it: " + thread_limit_text(error.code().value());
    }
    return {};
}

void SocketThread::serve()
{
    bool slept_out_hold = false;
    while (!stopping_) {
        free_spent();
        // What piled up while the thread slept out a hold is no burst.
        const bool piled_up = std::exchange(slept_out_hold, false);
        const int read = read_waiting();
        const bool more_waiting = read == reads_per_pass;
        const bool in_burst = read >= burst_reads && !piled_up;
        if (in_burst && spin_in_bursts) {
            const Clock::time_point give_up = Clock::now() + burst_gap;
            while (!wait_.wait(socket_.descriptor(), std::chrono::milliseconds(0)).readable &&
                   Clock::now() < give_up) {
            }
        }
        const Clock::time_point now = Clock::now();
        if (wakes_.wake_now(now, in_burst)) {
            wake_owner();
            continue;
        }
        std::chrono::milliseconds timeout{-1};
        if (const std::optional<Clock::time_point> due = wakes_.due()) {
            // Past due in a burst: read on, and look again after the next pass.
            if (*due <= now) continue;
            timeout = std::chrono::ceil<std::chrono::milliseconds>(*due - now);
            if (hold_in_kernel(*due)) {
                slept_out_hold = true;
                continue;
            }
        }
        if (!more_waiting) wait_.wait(socket_.descriptor(), timeout);
    }
}

bool SocketThread::hold_in_kernel(Clock::time_point due)
{
    // While datagrams wait for the owner anyway, the kernel's buffer can hold the next ones as
    // well as the inbox can: the thread sleeps out the hold and reads them all at its end, instead
    // of waking for each. Only a buffer that a hold's worth of a fast stream cannot fill may.
    if (!sleep_out_holds || receive_buffer_size_ < buffer_to_hold_in_kernel ||
        last_handed_over_ < 2 || last_handed_over_ >= slow_stream_most)
        return false;
    napping_ = true;
    // A send while asleep wakes it (write_all): its answer must not wait out the hold.
    if (!reply_expected_)
        wait_.wait_for_call(std::chrono::ceil<std::chrono::milliseconds>(
            std::max(Clock::duration::zero(), due - Clock::now())));
    napping_ = false;
    return !reply_expected_;
}

int SocketThread::read_waiting()
{
    int reads = 0;
    for (; reads < reads_per_pass; ++reads) {
        const UdpSocket::Read read = socket_.receive(reading_);
        if (read != UdpSocket::Read::datagram) break; // the wait tells when to try again
        if (reading_.data.empty()) continue;
        const auto test = of_a_burst_.load(std::memory_order_relaxed);
        const bool of_a_burst = test && test(reading_.data);
        bool was_empty = false;
        {
            const std::lock_guard lock(inbox_mutex_);
            was_empty = inbox_.empty();
            inbox_.push_back(std::move(reading_));
        }
        reading_ = Arrived{};
        hand_over(was_empty, of_a_burst);
    }
    return reads;
}

void SocketThread::hand_over(bool was_empty, bool of_a_burst)
{
    wakes_.arrived(Clock::now(), was_empty, reply_expected_.exchange(false), of_a_burst);
}

void SocketThread::wake_owner()
{
    const Clock::time_point now = Clock::now();
    {
        // The owner may have taken them already, woken by an earlier datagram.
        const std::lock_guard lock(inbox_mutex_);
        wakes_.handed_over(now, !inbox_.empty());
        if (inbox_.empty()) return;
        last_handed_over_ = inbox_.size();
    }
    wake_();
}

void SocketThread::give_back(std::vector<Arrived>&& spent)
{
    const std::lock_guard lock(inbox_mutex_);
    spent_.push_back(std::move(spent));
}

void SocketThread::free_spent()
{
    std::vector<std::vector<Arrived>> spent; // freed after the lock is let go
    const std::lock_guard lock(inbox_mutex_);
    spent.swap(spent_);
}

std::vector<Arrived> SocketThread::take()
{
    std::vector<Arrived> taken;
    const std::lock_guard lock(inbox_mutex_);
    taken.swap(inbox_);
    return taken;
}

std::vector<bool> SocketThread::write_all(SocketAddress to,
                                          std::span<const ByteView> datagrams,
                                          int interface_index,
                                          std::uint32_t source)
{
    std::vector<bool> sent(datagrams.size(), false);
    if (datagrams.empty()) return sent;
    // Whatever comes next is probably the answer someone waits for.
    reply_expected_ = true;
    if (napping_) wait_.wake();
    const std::lock_guard lock(send_mutex_);
    for (std::size_t i = 0; i < datagrams.size(); ++i)
        sent[i] = datagrams[i].empty() || socket_.send(to, datagrams[i], interface_index, source);
    return sent;
}

} // namespace zk::detail
