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

    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "cards.txt", card_file)),
              "3000004\r\n");
    EXPECT_EQ(std::get<std::string>(read_regular_file(folder / "empty.txt", card_file)), "");

    const auto as_folder = std::get<ReadFailure>(read_regular_file(folder, card_file));
    EXPECT_EQ(describe(folder, as_folder), folder.string() + ": is a folder, not a file");
    EXPECT_FALSE(as_folder.missing);
    const auto missing =
        std::get<ReadFailure>(read_regular_file(folder / "nothing.txt", card_file));
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.reason, "no such file");
    fs::remove_all(folder);
}

TEST(file_read, refuses_a_file_larger_than_its_kind_may_be_naming_the_limit)
{
    const fs::path file = fs::temp_directory_path() / "zk_file_read_large.json";
    std::ofstream(file, std::ios::binary) << std::string((1u << 20) + 1, ' ');
    constexpr FileKind one_mib{"a room file", 1u << 20};
    const auto refused = std::get<ReadFailure>(read_regular_file(file, one_mib));
    EXPECT_EQ(refused.reason, "is larger than a room file may be (at most 1 MiB)");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string(1u << 20, ' ');
    EXPECT_EQ(std::get<std::string>(read_regular_file(file, one_mib)).size(), 1u << 20);
    fs::remove(file);
}

} // namespace
} // namespace zk
