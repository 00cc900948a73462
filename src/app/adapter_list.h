#pragma once
// 组合框网卡列表: filled from the PC's adapters, its position remembered in system.ini.
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "base/adapter_source.h"
#include "present/find/adapter_choice.h"
#include "view/controls.h"

namespace zk {

class AdapterList final : public AdapterChoice
{
public:
    AdapterList(ItemList& combo, AdapterSource& source, SettingsFile& file);

    // Refills the list from a fresh enumeration and keeps the selected position where the
    // new list is long enough. Never writes the file.
    void fill() override;
    // Selects the position saved in the file; once, right after the first fill. Without a saved
    // position, the first adapter that is up with an IPv4 address (the first adapter if none is).
    void restore() override;
    // The operator picked an item: saves its position. The pick holds for this run even when
    // the file cannot be saved; the first such failure of the run is shown in `boxes`.
    void remember(MessageBoxes& boxes) override;

    // The adapters behind the items, as last enumerated.
    const std::vector<Adapter>& adapters() const override { return adapters_; }
    // The system's index of the selected adapter; 0 (the default route) when none is selected.
    int selected_interface() const override;

private:
    // The first adapter that is connected and has an IPv4 address; 0 when none has.
    std::int64_t first_usable_position() const;
    // Selects `position` when the list has at least that many items, else leaves it unselected.
    void apply_position(std::int64_t position);

    ItemList& combo_;
    AdapterSource& source_;
    SettingsFile& file_;
    std::vector<Adapter> adapters_;
    bool told_unsaved_ = false;
};

// "设置文件无法保存：/path/system.ini"
std::string unsaved_settings_message(const std::filesystem::path& file);

} // namespace zk
