// zkconfig.exe: finds the controllers of the segment and configures them, on the Windows API.
#include <windows.h>

#include "base/program_folder.h"
#include "net/adapters.h"
#include "net/host_addresses.h"
#include "net/winsock_use.h"
#include "present/app_state.h"
#include "ui/win32/endpoint_link.h"
#include "ui/win32/find_window.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_dispatcher.h"
#include "ui/win32/window_font.h"

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
                                  zk::program_folder(),
                                  {}},
                                 dispatcher);
    window.on_close = [] { PostQuitMessage(0); };
    window.show();
    return zk::win32::run_message_loop();
}
