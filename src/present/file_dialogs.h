#pragma once
// The system's questions for a file name, which the room-file flows ask: each toolkit shows its
// own dialogs, tests answer at once.
#include <filesystem>
#include <string_view>

namespace zk {

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The existing file the operator picks to read; empty when the dialog is cancelled.
    virtual std::filesystem::path open_file(std::string_view title) = 0;
    // The file the operator names to write, `suggested` offered first; empty when cancelled.
    virtual std::filesystem::path save_file(std::string_view title, std::string_view suggested) = 0;
};

} // namespace zk
