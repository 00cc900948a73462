#include "app/find_window_assembly.h"

#include "base/program_folder.h"

namespace zk {

FindWindowAssembly::FindWindowAssembly(present::FindWindowParts parts,
                                       AdapterSource& adapters,
                                       const std::filesystem::path& program_dir,
                                       const std::filesystem::path& user_config_dir,
                                       AppState& state,
                                       Ports ports)
    : settings_file_(program_dir,
                     user_config_dir.empty() ? default_user_config_dir() : user_config_dir),
      adapter_list_(parts.controls.get<ItemList>("组合框网卡列表"), adapters, settings_file_),
      model_(std::move(parts), adapter_list_, state, ports)
{}

} // namespace zk
