#pragma once
// Windows sockets work only between WSAStartup and WSACleanup, counted per process; every user of
// a socket call holds one of these for as long as it needs them. Elsewhere it does nothing.
namespace zk {

class WinsockUse
{
public:
    WinsockUse();
    ~WinsockUse();
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;

    // False when Windows refused to start its sockets library; every socket call then fails.
    bool started() const { return started_; }

private:
    bool started_ = true;
};

} // namespace zk
