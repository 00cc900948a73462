#pragma once
// zkctl as a function: the arguments (without the program name) in, the exit status out, with
// everything it prints going to the streams in `io`. Needs a Qt application object to exist.
#include <string>
#include <vector>

#include "cli/context.h"

namespace zk::cli {

int run(const std::vector<std::string>& arguments, Io& io);

} // namespace zk::cli
