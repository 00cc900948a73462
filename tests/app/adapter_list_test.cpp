#include "app/adapter_list.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "support/memory_controls.h"
#include "support/system_ini_names.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

using test::gbk_adapter_section;
using test::gbk_choice_key;

class ListedAdapters final : public AdapterSource
{
public:
    std::vector<Adapter> list() override { return adapters; }
    std::vector<Adapter> adapters;
};

std::vector<Adapter> adapters(int count)
{
    std::vector<Adapter> out;
    for (int i = 0; i < count; ++i)
        out.push_back({"eth" + std::to_string(i) + " 10.0.0." + std::to_string(i + 1), i + 2,
                       "10.0.0." + std::to_string(i + 1)});
    return out;
}

class adapter_list : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // Windows will not delete a read-only file.
        std::error_code error;
        fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add, error);
        fs::remove_all(dir);
    }

    // The list as the find window sets it up at start.
    void open_window(int adapter_count)
    {
        source.adapters = adapters(adapter_count);
        combo = test::MemoryItemList{};
        list.fill();
        list.restore();
    }

    void store(const std::string& value)
    {
        std::ofstream(ini, std::ios::binary) << "[" << gbk_adapter_section << "]\r\n"
                                             << gbk_choice_key << "=" << value << "\r\n";
    }

    fs::path dir = fs::temp_directory_path() /
                   ("zk_adapters_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::path ini = dir / "system.ini";
    // Made before the settings file looks at it, so system.ini lives in `dir`.
    bool made = (fs::remove_all(dir), fs::create_directories(dir));
    ListedAdapters source;
    test::RecordingMessageBoxes boxes;
    test::MemoryItemList combo;
    SettingsFile file{dir, dir / "user"};
    AdapterList list{combo, source, file};
};

TEST_F(adapter_list, first_run_selects_the_first_adapter_and_writes_nothing)
{
    open_window(2);
    EXPECT_EQ(combo.items(), (std::vector<std::string>{"eth0 10.0.0.1", "eth1 10.0.0.2"}));
    EXPECT_EQ(combo.selection(), 0);
    EXPECT_EQ(list.selected_interface(), 2);
    EXPECT_FALSE(fs::exists(ini));
}

TEST_F(adapter_list, first_start_selects_the_first_adapter_that_is_up_with_an_address)
{
    const Adapter down{"ifb0 (未连接)", 2, "", false};
    const Adapter unplugged{"eth1 (未连接)", 3, "10.0.0.3", false};
    const Adapter up_without_address{"wlan0 (未连接)", 4, "", true};
    const Adapter usable{"eth0 10.0.0.5", 5, "10.0.0.5", true};
    struct Case
    {
        const char* what;
        const char* stored; // nullptr: no system.ini
        std::vector<Adapter> adapters;
        int selected;
    };
    const Case cases[] = {
        {"skips down, unplugged and addressless",
         nullptr,
         {down, unplugged, up_without_address, usable},
         3},
        {"the first usable of several", nullptr, {usable, down, usable}, 0},
        {"none usable: the first", nullptr, {down, up_without_address}, 0},
        {"an empty value is no choice", "", {down, usable}, 1},
        {"a stored choice is kept, usable or not", "0", {down, usable}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(ini);
        if (c.stored) store(c.stored);
        source.adapters = c.adapters;
        combo = test::MemoryItemList{};
        list.fill();
        list.restore();
        EXPECT_EQ(combo.selection(), c.selected);
        EXPECT_EQ(fs::exists(ini), c.stored != nullptr); // choosing is not storing
    }
}

TEST_F(adapter_list, a_pick_is_written_and_restored_at_the_next_start)
{
    open_window(3);
    combo.set_selection(1); // the operator's pick
    list.remember(boxes);
    open_window(3);
    EXPECT_EQ(combo.selection(), 1);
    EXPECT_EQ(list.selected_interface(), 3);
    std::ifstream in(ini, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=1\r\n");
}

TEST_F(adapter_list, a_pick_that_cannot_be_saved_holds_for_the_run_and_is_told_once)
{
    store("0");
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    open_window(3);
    combo.set_selection(2);
    list.remember(boxes);
    combo.set_selection(1);
    list.remember(boxes);
    EXPECT_EQ(combo.selection(), 1);
    EXPECT_EQ(list.selected_interface(), 3);
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"设置文件无法保存：" + ini.string()}));
}

TEST_F(adapter_list, restores_stored_values_by_the_selection_rule)
{
    struct Case
    {
        const char* stored;
        int adapters;
        int selected;
    };
    const Case cases[] = {
        {"5", 3, -1},                 // two past the end: not applied
        {"4", 3, -1},                 // also
        {"3", 3, 2},                  // one past the end: the last
        {"1.9", 2, 1},                // truncated
        {"-1", 2, -1},                // none
        {"-7", 2, -1}, {"abc", 2, 0}, // no number reads as 0
        {"", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        store(c.stored);
        const auto written = fs::last_write_time(ini);
        open_window(c.adapters);
        EXPECT_EQ(combo.selection(), c.selected);
        EXPECT_EQ(list.selected_interface(), c.selected < 0 ? 0 : c.selected + 2);
        EXPECT_EQ(fs::last_write_time(ini), written);
    }
}

TEST_F(adapter_list, without_adapters_nothing_is_selected_and_broadcasts_take_the_default_route)
{
    store("1");
    open_window(0);
    EXPECT_EQ(combo.item_count(), 0);
    EXPECT_EQ(list.selected_interface(), 0);
}

TEST_F(adapter_list, refresh_keeps_the_position_when_the_list_is_long_enough)
{
    struct Case
    {
        int adapters_after;
        int selected;
    };
    for (const Case& c : {Case{3, 1}, Case{2, 1}, Case{1, 0}, Case{0, -1}}) {
        SCOPED_TRACE(c.adapters_after);
        open_window(3);
        combo.set_selection(1);
        source.adapters = adapters(c.adapters_after);
        list.fill();
        EXPECT_EQ(combo.item_count(), c.adapters_after);
        EXPECT_EQ(combo.selection(), c.selected);
        EXPECT_FALSE(fs::exists(ini));
    }
}

} // namespace
} // namespace zk
