#pragma once
// The folder the running program was started from, where files shipped with it lie (the
// projector library, as on Windows, where everything is installed into one folder).
#include <filesystem>

namespace zk {

// Empty when the system cannot tell.
std::filesystem::path program_folder();

} // namespace zk
