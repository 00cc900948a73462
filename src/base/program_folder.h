#pragma once
// The program's own folders: where it was started from, where files shipped with it lie (the
// projector library, as on Windows, where everything is installed into one folder), and where
// the user's files are kept.
#include <filesystem>

namespace zk {

// Empty when the system cannot tell.
std::filesystem::path program_folder();

// Where the user's own files of every program live (system.ini when the program's folder is not
// writable, the user's projector library): $XDG_CONFIG_HOME/zkconfig when that is an absolute
// path, else ~/.config/zkconfig; on Windows %APPDATA%\zkconfig.
std::filesystem::path default_user_config_dir();

} // namespace zk
