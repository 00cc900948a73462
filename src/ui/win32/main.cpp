// zkconfig.exe: finds the controllers of the segment and configures them, on the Windows API.
#include <windows.h>

#include "net/adapters.h"
#include "net/host_addresses.h"
#include "net/winsock_use.h"
#include "present/app_state.h"
#include "ui/win32/endpoint_link.h"
#include "ui/win32/find_window.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_dispatcher.h"
#include "ui/win32/window_font.h"

namespace {

// The folder of the program itself, from its wide path (a narrow one is in the ANSI code page).
std::filesystem::path program_dir()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).parent_path();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    zk::win32::become_dpi_aware();
    zk::win32::initialise_controls();
    const zk::WinsockUse sockets;
    zk::win32::Win32Dispatcher dispatcher;
    zk::AppState state;
    zk::SystemAdapters adapters;
    zk::win32::FindWindow window(state, zk::Ports{},
                                 {zk::win32::open_endpoint_link,
                                  adapters,
                                  [] { return zk::host_addresses(); },
                                  program_dir(),
                                  {}},
                                 dispatcher);
    window.on_close = [] { PostQuitMessage(0); };
    window.show();
    return zk::win32::run_message_loop();
}
