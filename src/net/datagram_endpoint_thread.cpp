#include "net/datagram_endpoint_thread.h"

#include <QNetworkProxy>
#include <QUdpSocket>
#include <QVariant>

namespace zk::detail {

namespace {

// Datagrams read in one pass before the thread looks for sends and the end again: a flood must
// not keep the owner from sending.
constexpr int reads_per_pass = 512;
// After a pass that found this many datagrams waiting, a burst is arriving: the thread keeps
// looking this long before it sleeps. Asleep, each datagram of the burst would have to wake it,
// and on a busy machine a wake-up can come too late for a full buffer.
constexpr int burst_reads = 4;
constexpr std::chrono::microseconds burst_gap{50};

} // namespace

SocketThread::SocketThread(std::function<void()> wake) : wake_(std::move(wake)) {}

SocketThread::~SocketThread()
{
    if (!thread_) return;
    stopping_ = true;
    wait_.wake();
    thread_->wait();
}

bool SocketThread::bind(const QHostAddress& address, quint16 port, bool shared, int receive_buffer)
{
    // The promise goes with the thread: it may still be inside set_value() when this returns.
    std::promise<bool> bound;
    std::future<bool> result = bound.get_future();
    thread_.reset(QThread::create(
        [this, address, port, shared, receive_buffer, bound = std::move(bound)]() mutable {
            run(address, port, shared, receive_buffer, bound);
        }));
    thread_->setObjectName(QStringLiteral("datagram receiver"));
    thread_->start();
    if (result.get()) return true;
    thread_->wait();
    thread_.reset();
    return false;
}

void SocketThread::run(const QHostAddress& address,
                       quint16 port,
                       bool shared,
                       int receive_buffer,
                       std::promise<bool>& bound)
{
    // Made here, so that it belongs to this thread, which alone touches it.
    QUdpSocket socket;
    // Broadcasts and the controllers' answers only exist on the local segment; a proxy the
    // desktop names for other traffic would make the bind fail.
    socket.setProxy(QNetworkProxy::NoProxy);
    const bool is_bound = socket.bind(
        address, port, shared ? QAbstractSocket::ShareAddress : QAbstractSocket::DontShareAddress);
    if (is_bound) {
        // Asked before the bind, Qt drops the request without a word; after it, the kernel
        // grants what its limits allow.
        socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, receive_buffer);
        local_port_ = socket.localPort();
        receive_buffer_size_ =
            socket.socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
        socket_ = &socket;
    }
    bound.set_value(is_bound);
    if (!is_bound) return;
    serve();
    socket_ = nullptr;
    run_queued_work(); // a send that raced the end fails instead of waiting for ever
}

void SocketThread::serve()
{
    const auto descriptor = static_cast<std::intptr_t>(socket_->socketDescriptor());
    while (!stopping_) {
        run_queued_work();
        free_spent();
        if (read_waiting() >= burst_reads) {
            const Clock::time_point give_up = Clock::now() + burst_gap;
            while (!socket_->hasPendingDatagrams() && Clock::now() < give_up) {
            }
        }
        std::chrono::milliseconds timeout{-1};
        if (hold_until_) {
            const Clock::duration left = *hold_until_ - Clock::now();
            if (left <= Clock::duration::zero()) {
                hold_until_.reset();
                wake_owner();
                continue;
            }
            timeout = std::chrono::ceil<std::chrono::milliseconds>(left);
        }
        wait_.wait(descriptor, timeout);
    }
}

void SocketThread::run_queued_work()
{
    std::deque<std::packaged_task<void()>> queued;
    {
        const std::lock_guard lock(work_mutex_);
        queued.swap(work_);
    }
    for (std::packaged_task<void()>& work : queued)
        work();
}

int SocketThread::read_waiting()
{
    // The size asks the kernel once: -1 when nothing waits, so no separate "any waiting?" call.
    int reads = 0;
    for (qint64 size = socket_->pendingDatagramSize(); size >= 0 && reads < reads_per_pass;
         size = socket_->pendingDatagramSize(), ++reads) {
        QNetworkDatagram datagram = socket_->receiveDatagram(size);
        if (!datagram.isValid()) break; // a failed read; the wait tells when to try again
        if (datagram.data().isEmpty()) continue;
        bool was_empty = false;
        {
            const std::lock_guard lock(inbox_mutex_);
            was_empty = inbox_.empty();
            inbox_.push_back(std::move(datagram));
        }
        hand_over(was_empty);
    }
    return reads;
}

void SocketThread::hand_over(bool was_empty)
{
    // An answer someone waits for goes at once, even past datagrams being held.
    const bool awaited = reply_expected_.exchange(false);
    if (!was_empty && !awaited) return; // a wake-up is on its way or due at hold_until_
    if (awaited || Clock::now() - last_wake_ >= hold_time) {
        hold_until_.reset();
        wake_owner();
        return;
    }
    if (!hold_until_) hold_until_ = last_wake_ + hold_time;
}

void SocketThread::wake_owner()
{
    {
        // The owner may have taken them already, woken by an earlier datagram.
        const std::lock_guard lock(inbox_mutex_);
        if (inbox_.empty()) return;
    }
    last_wake_ = Clock::now();
    wake_();
}

void SocketThread::give_back(std::vector<QNetworkDatagram>&& spent)
{
    const std::lock_guard lock(inbox_mutex_);
    spent_.push_back(std::move(spent));
}

void SocketThread::free_spent()
{
    std::vector<std::vector<QNetworkDatagram>> spent; // freed after the lock is let go
    const std::lock_guard lock(inbox_mutex_);
    spent.swap(spent_);
}

std::vector<QNetworkDatagram> SocketThread::take()
{
    std::vector<QNetworkDatagram> taken;
    const std::lock_guard lock(inbox_mutex_);
    taken.swap(inbox_);
    return taken;
}

void SocketThread::run_there(const std::function<void()>& work)
{
    if (!thread_) return;
    // The task stays with the socket thread, which may still be finishing it when this returns.
    std::packaged_task<void()> task(work);
    std::future<void> finished = task.get_future();
    {
        const std::lock_guard lock(work_mutex_);
        work_.push_back(std::move(task));
    }
    wait_.wake();
    finished.wait();
}

std::vector<bool> SocketThread::write_all(const std::vector<QNetworkDatagram>& datagrams)
{
    std::vector<bool> sent(datagrams.size(), false);
    if (datagrams.empty()) return sent;
    // Whatever comes next is probably the answer someone waits for.
    reply_expected_ = true;
    run_there([&] {
        for (std::size_t i = 0; socket_ && i < datagrams.size(); ++i)
            sent[i] = socket_->writeDatagram(datagrams[i]) == datagrams[i].data().size();
    });
    return sent;
}

} // namespace zk::detail
