#pragma once
// The find window's model with what the program keeps for it: system.ini, beside the program or
// the user's copy, and the adapter list whose position is remembered there. Both toolkits' find
// windows hold one, so this wiring is written once.
#include <filesystem>

#include "app/adapter_list.h"
#include "app/settings_file.h"
#include "present/find/find_window_model.h"

namespace zk {

class FindWindowAssembly
{
public:
    // `adapters` fills 组合框网卡列表 of `parts.controls`; an empty `user_config_dir` means the
    // user's configuration directory.
    FindWindowAssembly(present::FindWindowParts parts,
                       AdapterSource& adapters,
                       const std::filesystem::path& program_dir,
                       const std::filesystem::path& user_config_dir,
                       AppState& state,
                       Ports ports);

    present::FindWindowModel& model() { return model_; }
    const SettingsFile& settings_file() const { return settings_file_; }

private:
    SettingsFile settings_file_;
    AdapterList adapter_list_;
    present::FindWindowModel model_;
};

} // namespace zk
