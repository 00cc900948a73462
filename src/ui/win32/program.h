#pragma once
// What zkconfig.exe runs: the find window over the PC's own adapters, network and folders, with
// the process made ready for it first (DPI awareness, common controls, Winsock).
#include "net/adapters.h"
#include "net/early_start.h"
#include "net/winsock_use.h"
#include "present/app_state.h"
#include "ui/win32/find_window.h"
#include "ui/win32/win32_dispatcher.h"

namespace zk::win32 {

class Program
{
public:
    Program();
    FindWindow& window() { return window_; }

private:
    // Before any window exists.
    struct ProcessSetup
    {
        ProcessSetup();
    };

    ProcessSetup setup_;
    WinsockUse sockets_;
    Win32Dispatcher dispatcher_;
    AppState state_;
    SystemAdapters adapters_;
    EarlyStart early_;
    FindWindow window_;
};

} // namespace zk::win32
