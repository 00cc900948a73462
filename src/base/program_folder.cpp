#include "base/program_folder.h"

#ifdef _WIN32
#include <vector>
#include <windows.h>
#endif

namespace zk {

std::filesystem::path program_folder()
{
#ifdef _WIN32
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size())
            return std::filesystem::path(std::wstring(name.data(), length)).parent_path();
        name.resize(name.size() * 2);
    }
#else
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::filesystem::path{} : program.parent_path();
#endif
}

std::filesystem::path default_user_config_dir()
{
#if defined(_WIN32)
    // The wide variable: a user name in Chinese does not survive the ANSI code page.
    const wchar_t* app_data = ::_wgetenv(L"APPDATA");
    if (app_data && *app_data && std::filesystem::path(app_data).is_absolute())
        return std::filesystem::path(app_data) / "zkconfig";
    std::error_code error;
    return std::filesystem::temp_directory_path(error) / "zkconfig";
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg) / "zkconfig";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "zkconfig";
#endif
}

} // namespace zk
