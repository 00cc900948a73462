// zkctl: the controllers' configuration from a shell, for installers who fit out many rooms.
#include <cstdio>
#include <iostream>

#include "base/program_start.h"
#include "cli/app.h"
#include "net/adapters.h"
#include "net/event_loop.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

int main(int argc, char** argv)
{
    zk::use_utf8_console();
    zk::EventLoop loop; // answers arrive while zkctl waits for them
    zk::SystemAdapters adapters;
    zk::cli::Io io{std::cout, std::cerr, isatty(STDERR_FILENO) != 0, &adapters};
    return zk::cli::run(zk::program_arguments(argc, argv), io);
}
