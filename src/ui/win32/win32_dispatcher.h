#pragma once
// The window thread's dispatcher: work posted from the endpoint's thread waits in a queue and a
// message to a hidden message-only window wakes the thread's message loop for it; timers are
// window timers of that hidden window. Made on the thread that runs the windows, before them.
#include <windows.h>

#include <deque>
#include <map>
#include <mutex>

#include "net/dispatcher.h"

namespace zk::win32 {

class Win32Dispatcher final : public Dispatcher
{
public:
    // Creates the hidden window and installs itself for the calling thread.
    Win32Dispatcher();
    ~Win32Dispatcher() override;
    Win32Dispatcher(const Win32Dispatcher&) = delete;
    Win32Dispatcher& operator=(const Win32Dispatcher&) = delete;

    void post(Work work) override;
    TimerId start_timer(std::chrono::milliseconds delay, Work work) override;
    void cancel_timer(TimerId id) override;

    // Runs everything posted so far (the message loop calls it; tests may too).
    void run_posted();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void fire_timer(TimerId id);

    HWND window_ = nullptr;
    Dispatcher* previous_ = nullptr;
    std::mutex mutex_;
    std::deque<Work> posted_;   // guarded by mutex_
    bool wake_pending_ = false; // guarded by mutex_: one wake-up message covers the whole queue
    std::map<TimerId, Work> timers_;
    TimerId next_timer_ = 1;
};

} // namespace zk::win32
