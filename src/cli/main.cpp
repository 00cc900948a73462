// zkctl: the controllers' configuration from a shell, for installers who fit out many rooms.
#include <QCoreApplication>
#include <iostream>
#include <unistd.h>

#include "cli/app.h"
#include "net/adapters.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    zk::SystemAdapters adapters;
    zk::cli::Io io{std::cout, std::cerr, isatty(STDERR_FILENO) != 0, &adapters};
    return zk::cli::run({argv + 1, argv + argc}, io);
}
