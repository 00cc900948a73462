#include "base/file_read.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zk {
namespace {

namespace fs = std::filesystem;

TEST(file_read, names_why_a_path_is_not_a_readable_file)
{
    const fs::path folder = fs::temp_directory_path() / "zk_file_read_test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "cards.txt", std::ios::binary) << "3000004\r\n";
    std::ofstream(folder / "empty.txt", std::ios::binary).flush();

    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "cards.txt")), "3000004\r\n");
    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "empty.txt")), "");

    const auto as_folder = std::get<ReadFailure>(read_regular_file(folder));
    EXPECT_EQ(describe(folder, as_folder), folder.string() + ": is a folder, not a file");
    EXPECT_FALSE(as_folder.missing);
    const auto missing = std::get<ReadFailure>(read_regular_file(folder / "nothing.txt"));
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.reason, "no such file");
    fs::remove_all(folder);
}

} // namespace
} // namespace zk
