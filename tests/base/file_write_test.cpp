#include "base/file_write.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <system_error>

#include "base/file_read.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// system.ini and zksim's state both go through here: a failure says why and leaves no
// temporary file behind.
TEST(file_write, names_why_it_could_not_and_leaves_nothing_behind)
{
    const fs::path folder = fs::temp_directory_path() / "zk_file_write_failures";
    fs::remove_all(folder);
    fs::create_directories(folder / "kept");

    EXPECT_EQ(replace_file(folder / "missing/state.json", "{}"),
              std::generic_category().message(ENOENT));
    EXPECT_NE(replace_file(folder / "kept", "{}"), "");
    EXPECT_FALSE(fs::exists(folder / "kept.tmp"));
    EXPECT_TRUE(fs::is_directory(folder / "kept"));
    fs::remove_all(folder);
}

// A settings file kept elsewhere behind a link stays a link.
TEST(file_write, replaces_a_links_target)
{
    const fs::path folder = fs::temp_directory_path() / "zk_file_write_link";
    fs::remove_all(folder);
    fs::create_directories(folder / "kept");
    std::error_code no_links;
    fs::create_symlink("kept/system.ini", folder / "system.ini", no_links);
    if (no_links) GTEST_SKIP() << "no symbolic links here: " << no_links.message();

    ASSERT_EQ(replace_file(folder / "system.ini", "[a]\r\nb=1\r\n"), "");
    ASSERT_EQ(replace_file(folder / "system.ini", "[a]\r\nb=2\r\n"), "");
    EXPECT_TRUE(fs::is_symlink(folder / "system.ini"));
    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "kept/system.ini", card_file)),
              "[a]\r\nb=2\r\n");
    EXPECT_FALSE(fs::exists(folder / "kept/system.ini.tmp"));
    fs::remove_all(folder);
}

} // namespace
} // namespace zk
