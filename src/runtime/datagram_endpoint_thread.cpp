#include "runtime/datagram_endpoint_thread.h"

#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

namespace zk::detail {

SocketThread::SocketThread(std::function<void()> wake)
    : home_(std::make_unique<QObject>()), wake_(std::move(wake))
{
    home_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("datagram receiver"));
    thread_.start();
    run_there([this] {
        hold_ = new QTimer(home_.get());
        hold_->setSingleShot(true);
        hold_->setTimerType(Qt::PreciseTimer);
        QObject::connect(hold_, &QTimer::timeout, home_.get(), [this] { wake_owner(); });
    });
}

SocketThread::~SocketThread()
{
    // The socket, its notifiers and the timer belong to the thread; they go there, before it
    // ends.
    run_there([this] {
        delete socket_;
        socket_ = nullptr;
        delete hold_;
        hold_ = nullptr;
    });
    thread_.quit();
    thread_.wait();
}

void SocketThread::run_there(const std::function<void()>& work)
{
    QMetaObject::invokeMethod(home_.get(), work, Qt::BlockingQueuedConnection);
}

bool SocketThread::bind(const QHostAddress& address, quint16 port, bool shared, int receive_buffer)
{
    bool bound = false;
    run_there([&] {
        socket_ = new QUdpSocket(home_.get());
        bound = socket_->bind(address, port,
                              shared ? QAbstractSocket::ShareAddress
                                     : QAbstractSocket::DontShareAddress);
        if (!bound) return;
        // Asked before the bind, Qt drops the request without a word; after it, the kernel
        // grants what its limits allow.
        socket_->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, receive_buffer);
        local_port_ = socket_->localPort();
        receive_buffer_size_ =
            socket_->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
        QObject::connect(socket_, &QUdpSocket::readyRead, home_.get(), [this] { read_waiting(); });
    });
    return bound;
}

void SocketThread::read_waiting()
{
    // The size asks the kernel once: -1 when nothing waits, so no separate "any waiting?" call.
    for (qint64 size = socket_->pendingDatagramSize(); size >= 0;
         size = socket_->pendingDatagramSize()) {
        QNetworkDatagram datagram = socket_->receiveDatagram(size);
        if (datagram.data().isEmpty()) continue; // zero-length datagrams and failed reads
        bool was_empty = false;
        {
            const std::lock_guard lock(inbox_mutex_);
            was_empty = inbox_.empty();
            inbox_.push_back(std::move(datagram));
        }
        hand_over(was_empty);
    }
}

void SocketThread::hand_over(bool was_empty)
{
    // An answer someone waits for goes at once, even past datagrams being held.
    const bool awaited = reply_expected_.exchange(false);
    if (!was_empty && !awaited) return; // a wake-up or the hold timer is already on its way
    const Clock::duration since = Clock::now() - last_wake_;
    if (awaited || since >= hold_time) {
        hold_->stop();
        wake_owner();
        return;
    }
    if (!hold_->isActive())
        hold_->start(std::chrono::ceil<std::chrono::milliseconds>(hold_time - since));
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

std::vector<QNetworkDatagram> SocketThread::take()
{
    std::vector<QNetworkDatagram> taken;
    const std::lock_guard lock(inbox_mutex_);
    taken.swap(inbox_);
    return taken;
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
