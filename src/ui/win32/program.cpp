#include "ui/win32/program.h"

#include "base/program_folder.h"
#include "net/host_addresses.h"
#include "ui/win32/endpoint_link.h"
#include "ui/win32/native_window.h"
#include "ui/win32/window_font.h"

namespace zk::win32 {

Program::ProcessSetup::ProcessSetup()
{
    become_dpi_aware();
    initialise_controls();
}

Program::Program()
    : window_(
          state_,
          Ports{},
          {open_endpoint_link, adapters_, [] { return host_addresses(); }, program_folder(), {}},
          dispatcher_)
{}

} // namespace zk::win32
