#include "app/settings_file.h"
#include "base/program_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "support/system_ini_names.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace zk {
namespace {

namespace fs = std::filesystem;

using test::gbk_adapter_section;
using test::gbk_choice_key;

class TempDir
{
public:
    TempDir()
    {
        path_ =
            fs::temp_directory_path() /
            ("zk_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string slurp(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(settings_file, changes_one_key_and_keeps_every_other_byte)
{
    struct Case
    {
        const char* what;
        std::string before;
        std::string after;
    };
    const std::string other = "; \xD7\xA2\xCA\xCD\r\n[Other]\r\nkey = v \r\n\r\n";
    const Case cases[] = {
        {"empty file", "", "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=1\r\n"},
        {"key replaced in place, LF kept",
         "[a]\nx=1\n[" + gbk_adapter_section + "]\n" + gbk_choice_key + "=0\ny=2\n",
         "[a]\nx=1\n[" + gbk_adapter_section + "]\n" + gbk_choice_key + "=1\ny=2\n"},
        {"section appended after others", other,
         other + "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=1\r\n"},
        {"no final line break", "[x]\r\ny=2",
         "[x]\r\ny=2\r\n[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=1\r\n"},
        {"section ends the file with a bare CR", "[" + gbk_adapter_section + "];\r",
         "[" + gbk_adapter_section + "];\r\r\n" + gbk_choice_key + "=1"},
        {"key added at the end of its section",
         "[" + gbk_adapter_section + "]\r\nother=3\r\n\r\n[z]\r\n",
         "[" + gbk_adapter_section + "]\r\nother=3\r\n" + gbk_choice_key + "=1\r\n\r\n[z]\r\n"},
        {"same key in another section untouched",
         "[z]\r\n" + gbk_choice_key + "=7\r\n[" + gbk_adapter_section + "]\r\n" + gbk_choice_key +
             "=5\r\n",
         "[z]\r\n" + gbk_choice_key + "=7\r\n[" + gbk_adapter_section + "]\r\n" + gbk_choice_key +
             "=1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ini_with_value(c.before, gbk_adapter_section, gbk_choice_key, "1"), c.after);
        EXPECT_EQ(ini_value(c.after, gbk_adapter_section, gbk_choice_key), "1");
    }
}

TEST(settings_file, reads_values_and_says_when_they_are_missing)
{
    const std::string file = "[z]\r\n" + gbk_choice_key + "=7\r\n[ " + gbk_adapter_section +
                             " ]\r\n;" + gbk_choice_key + "=9\r\n " + gbk_choice_key +
                             " = 1.9 \r\n";
    EXPECT_EQ(ini_value(file, gbk_adapter_section, gbk_choice_key), "1.9");
    EXPECT_EQ(ini_value(file, "z", gbk_choice_key), "7");
    EXPECT_EQ(ini_value(file, gbk_adapter_section, "none"), std::nullopt);
    EXPECT_EQ(ini_value(file, "none", gbk_choice_key), std::nullopt);
    EXPECT_EQ(ini_value("", gbk_adapter_section, gbk_choice_key), std::nullopt);
}

TEST(settings_file, lives_beside_the_program_and_is_replaced_whole)
{
    TempDir program;
    SettingsFile settings(program.path(), program.path() / "user");
    EXPECT_EQ(settings.location(), program.path() / "system.ini");
    EXPECT_EQ(settings.read(gbk_adapter_section, gbk_choice_key, "fallback"), "fallback");
    const std::string other = "[Other]\r\nkeep=\xB1\xA3\xC1\xF4\r\n";
    spit(settings.location(), other);
    ASSERT_TRUE(settings.write(gbk_adapter_section, gbk_choice_key, "2"));
    EXPECT_EQ(slurp(settings.location()),
              other + "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=2\r\n");
    EXPECT_EQ(settings.read(gbk_adapter_section, gbk_choice_key, ""), "2");
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), fs::directory_iterator{}), 1);
}

TEST(settings_file, falls_back_to_the_user_directory_when_the_program_directory_is_not_writable)
{
    TempDir base;
    // A regular file where the directory should be: nobody, not even root, can write into it.
    const fs::path blocked = base.path() / "program";
    spit(blocked, "not a directory");
    const fs::path user = base.path() / "config" / "zkconfig";
    SettingsFile settings(blocked, user);
    EXPECT_EQ(settings.location(), user / "system.ini");
    ASSERT_TRUE(settings.write(gbk_adapter_section, gbk_choice_key, "-1"));
    EXPECT_EQ(slurp(user / "system.ini"),
              "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=-1\r\n");
    EXPECT_EQ(SettingsFile(blocked, user).read(gbk_adapter_section, gbk_choice_key, ""), "-1");
}

// On Windows a narrow path is in the ANSI code page, not UTF-8: a program folder named in Chinese
// only works when every file is opened through the path itself.
TEST(settings_file, reads_and_writes_in_a_folder_with_a_chinese_name)
{
    TempDir base;
    const fs::path program = base.path() / fs::path(u8"中控配置工具");
    fs::create_directories(program);
    SettingsFile settings(program, base.path() / "user");
    EXPECT_EQ(settings.location(), program / "system.ini");
    ASSERT_TRUE(settings.write(gbk_adapter_section, gbk_choice_key, "1"));
    ASSERT_TRUE(
        settings.write(gbk_adapter_section, gbk_choice_key, "2")); // now over a file that is there
    EXPECT_EQ(slurp(program / "system.ini"),
              "[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=2\r\n");
    EXPECT_EQ(
        SettingsFile(program, base.path() / "user").read(gbk_adapter_section, gbk_choice_key, ""),
        "2");
}

#if !defined(_WIN32)
// File modes bind root only through another user's rights; an ordinary user is bound anyway.
class AsOrdinaryUser
{
public:
    AsOrdinaryUser() : switched_(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~AsOrdinaryUser()
    {
        if (switched_ && ::seteuid(0) != 0) std::abort();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool switched_;
};

TEST(settings_file, never_replaces_a_file_whose_content_it_could_not_read_or_may_not_change)
{
    const struct
    {
        const char* name;
        fs::perms mode;
    } cases[] = {{"unreadable", fs::perms::none}, {"read-only", fs::perms(0444)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir program;
        fs::permissions(program.path(), fs::perms::all);
        const fs::path ini = program.path() / "system.ini";
        const std::string old = "[Other]\r\nkeep=1\r\n";
        spit(ini, old);
        fs::permissions(ini, c.mode);
        {
            AsOrdinaryUser user;
            if (::geteuid() == 0) GTEST_SKIP() << "no other user to take the rights of";
            SettingsFile settings(program.path(), program.path() / "user");
            ASSERT_EQ(settings.location(), ini);
            EXPECT_FALSE(settings.write(gbk_adapter_section, gbk_choice_key, "1"));
        }
        fs::permissions(ini, fs::perms::owner_read);
        EXPECT_EQ(slurp(ini), old);
    }
}

TEST(settings_file, beside_a_read_only_program_the_user_copy_starts_as_the_program_file)
{
    TempDir base;
    fs::permissions(base.path(), fs::perms::all);
    const fs::path program = base.path() / "program";
    fs::create_directories(program);
    const std::string shipped =
        "[Other]\r\nkeep=1\r\n[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=1\r\n";
    spit(program / "system.ini", shipped);
    fs::permissions(program, fs::perms(0555));
    const fs::path user = base.path() / "config";
    {
        AsOrdinaryUser ordinary;
        if (::geteuid() == 0) GTEST_SKIP() << "no other user to take the rights of";
        SettingsFile settings(program, user);
        EXPECT_EQ(settings.read(gbk_adapter_section, gbk_choice_key, ""), "1");
        ASSERT_TRUE(settings.write(gbk_adapter_section, gbk_choice_key, "2"));
        EXPECT_EQ(settings.read(gbk_adapter_section, gbk_choice_key, ""), "2");
    }
    fs::permissions(program, fs::perms::all);
    EXPECT_EQ(slurp(program / "system.ini"), shipped);
    EXPECT_EQ(slurp(user / "system.ini"),
              "[Other]\r\nkeep=1\r\n[" + gbk_adapter_section + "]\r\n" + gbk_choice_key + "=2\r\n");
}
#endif

TEST(settings_file, system_program_directories_are_those_the_package_manager_owns)
{
    const struct
    {
        const char* dir;
        bool system;
    } cases[] = {
        {"/usr/bin", true},
        {"/usr/local/bin", true},
        {"/bin", true},
        {"/sbin/", true},
        {"/usr/lib/../bin", true},
        {"/usrx/bin", false},
        {"/opt/zkconfig", false},
        {"/home/op/zkconfig/build-release/src", false},
        {"usr/bin", false},
        {"/", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(is_system_program_dir(c.dir), c.system) << c.dir;
}

TEST(settings_file, an_installed_program_keeps_its_file_in_the_user_directory_even_as_root)
{
    // /usr/bin is writable for root; the file still must not land among the package's files.
    TempDir user;
    const SettingsFile settings("/usr/bin", user.path());
    EXPECT_EQ(settings.location(), user.path() / "system.ini");
    EXPECT_EQ(settings.read_location(), user.path() / "system.ini");
}

#if defined(_WIN32)
TEST(settings_file, user_directory_is_under_appdata)
{
    const wchar_t* saved = ::_wgetenv(L"APPDATA");
    const std::wstring restore = saved ? saved : L"";
    ::_wputenv_s(L"APPDATA", L"C:\\用户\\数据");
    EXPECT_EQ(default_user_config_dir(), fs::path(L"C:\\用户\\数据") / "zkconfig");
    ::_wputenv_s(L"APPDATA", restore.c_str());
}
#else
TEST(settings_file, user_directory_follows_xdg_config_home)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(default_user_config_dir(), fs::path("/tmp/xdg/zkconfig"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(default_user_config_dir(), fs::path(std::getenv("HOME")) / ".config" / "zkconfig");
    if (saved)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}
#endif

} // namespace
} // namespace zk
