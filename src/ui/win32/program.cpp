#include "ui/win32/program.h"

#include "base/program_folder.h"
#include "net/host_addresses.h"
#include "ui/win32/native_window.h"
#include "ui/win32/window_font.h"

namespace zk::win32 {

Program::ProcessSetup::ProcessSetup()
{
    become_dpi_aware();
    initialise_controls();
}

Program::Program()
    : early_(adapters_, Ports{}.find_local, dispatcher_),
      window_(state_,
              Ports{},
              {[this](int port, std::function<void(ByteView)> deliver) {
                   return early_.open_link(port, std::move(deliver));
               },
               early_,
               [] { return host_addresses(); },
               program_folder(),
               {}},
              dispatcher_)
{}

} // namespace zk::win32
