#include "base/file_write.h"

#include <gtest/gtest.h>

#include "base/file_read.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// system.ini and zksim's state both go through here: a link stays a link, a failure says why
// and leaves no temporary file behind.
TEST(file_write, replaces_a_links_target_and_names_why_it_could_not)
{
    const fs::path folder = fs::temp_directory_path() / "zk_file_write_test";
    fs::remove_all(folder);
    fs::create_directories(folder / "kept");
    fs::create_symlink("kept/system.ini", folder / "system.ini");

    ASSERT_EQ(replace_file(folder / "system.ini", "[a]\r\nb=1\r\n"), "");
    ASSERT_EQ(replace_file(folder / "system.ini", "[a]\r\nb=2\r\n"), "");
    EXPECT_TRUE(fs::is_symlink(folder / "system.ini"));
    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "kept/system.ini")),
              "[a]\r\nb=2\r\n");

    EXPECT_EQ(replace_file(folder / "missing/state.json", "{}"), "No such file or directory");
    EXPECT_EQ(replace_file(folder / "kept", "{}"), "Is a directory");
    EXPECT_FALSE(fs::exists(folder / "kept.tmp"));
    EXPECT_FALSE(fs::exists(folder / "kept/system.ini.tmp"));
    fs::remove_all(folder);
}

} // namespace
} // namespace zk
