#include "ui/win32/win32_dispatcher.h"

#include <algorithm>
#include <stdexcept>

namespace zk::win32 {

namespace {

constexpr UINT wake_message = WM_APP + 1;
constexpr const wchar_t* class_name = L"ZkDispatcher";

void register_class()
{
    static const bool registered = [] {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.lpfnWndProc = DefWindowProcW;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.lpszClassName = class_name;
        return RegisterClassExW(&kind) != 0;
    }();
    if (!registered) throw std::runtime_error("cannot register the dispatcher's window class");
}

} // namespace

Win32Dispatcher::Win32Dispatcher()
{
    register_class();
    // A popup: style 0 would make it an overlapped window, whose caption, though never drawn,
    // costs Wine six look-ups of the monitors at its creation.
    window_ = CreateWindowExW(0, class_name, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) throw std::runtime_error("cannot create the dispatcher's window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    previous_ = install(this);
}

Win32Dispatcher::~Win32Dispatcher()
{
    install(previous_);
    for (const auto& [id, work] : timers_)
        KillTimer(window_, static_cast<UINT_PTR>(id));
    DestroyWindow(window_);
}

void Win32Dispatcher::post(Work work)
{
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
        wake = !wake_pending_;
        wake_pending_ = true;
    }
    if (wake) PostMessageW(window_, wake_message, 0, 0);
}

void Win32Dispatcher::run_posted()
{
    std::deque<Work> batch;
    {
        const std::lock_guard lock(mutex_);
        batch.swap(posted_);
        wake_pending_ = false;
    }
    for (Work& work : batch)
        work();
}

Dispatcher::TimerId Win32Dispatcher::start_timer(std::chrono::milliseconds delay, Work work)
{
    const TimerId id = next_timer_++;
    const auto wait = static_cast<UINT>(std::max<std::chrono::milliseconds::rep>(
        USER_TIMER_MINIMUM, std::min<std::chrono::milliseconds::rep>(delay.count(), 0x7FFFFFFF)));
    timers_.emplace(id, std::move(work));
    SetTimer(window_, static_cast<UINT_PTR>(id), wait, nullptr);
    return id;
}

void Win32Dispatcher::cancel_timer(TimerId id)
{
    if (timers_.erase(id) > 0) KillTimer(window_, static_cast<UINT_PTR>(id));
}

void Win32Dispatcher::fire_timer(TimerId id)
{
    KillTimer(window_, static_cast<UINT_PTR>(id));
    const auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // Taken out first: the work may start or cancel timers, this one's id included.
    Work work = std::move(found->second);
    timers_.erase(found);
    work();
}

LRESULT CALLBACK Win32Dispatcher::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* self = reinterpret_cast<Win32Dispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == wake_message) {
        self->run_posted();
        return 0;
    }
    if (self && message == WM_TIMER) {
        self->fire_timer(static_cast<TimerId>(wparam));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace zk::win32
