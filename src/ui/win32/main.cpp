// zkconfig.exe: finds the controllers of the segment and configures them, on the Windows API.
#include <windows.h>

#include "ui/win32/native_window.h"
#include "ui/win32/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    zk::win32::Program program;
    program.window().on_close = [] { PostQuitMessage(0); };
    program.window().show();
    return zk::win32::run_message_loop();
}
