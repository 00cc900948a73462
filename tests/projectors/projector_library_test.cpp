#include "projectors/projector_library.h"

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "base/values.h"
#include "protocol/code_text.h"
#include "protocol/request.h"

namespace zk::projectors {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary one, removed again at the end.
struct TempDir
{
    fs::path path =
        fs::temp_directory_path() /
        ("zk-projectors-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
    fs::path write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name) << text;
        return path / name;
    }
};

TEST(shipped_library, every_entry_loads_fits_and_names_its_source)
{
    const Library library = load_library({}, ZK_SHIPPED_LIBRARY);
    EXPECT_EQ(library.problems, std::vector<std::string>{});
    ASSERT_GE(library.entries.size(), 10u);
    std::set<std::string> names;
    for (const ProjectorEntry& entry : library.entries) {
        const std::string name = projectors::entry_name(entry);
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "two entries share the name";
        EXPECT_TRUE(protocol::projector_codes_fit(entry.codes));
        EXPECT_TRUE(projectors::baud_selectable(entry.baud));
        EXPECT_LE(entry.parity, 2);
        EXPECT_FALSE(entry.sources.empty());
        EXPECT_EQ(entry.confidence, "documented");
        EXPECT_FALSE(entry.codes[0].empty()) << "no power-on code";
        EXPECT_FALSE(entry.codes[1].empty()) << "no power-off code";
    }
    // One entry checked byte for byte against the maker's command list.
    const ProjectorEntry& epson = library.entries.front();
    EXPECT_EQ(projectors::entry_name(epson), "Epson ESC/VP21");
    EXPECT_EQ(protocol::code_to_text(epson.codes[0]), "PWR ON\\r");
    EXPECT_EQ(protocol::code_to_text(epson.codes[2]), "SOURCE 41\\r");
    EXPECT_EQ(epson.baud, 9600u);
}

TEST(projector_library, refuses_entries_by_name_and_keeps_the_others)
{
    const std::string good = R"({"brand":"A","family":"ok","baud":9600,"parity":"none",
        "codes":{"power_on":"01"},"sources":["A manual"],"confidence":"documented"})";
    struct Case
    {
        std::string entry;
        std::string problem;
    };
    const Case cases[] = {
        {R"({"brand":"B","family":"x","baud":14400,"parity":"none","codes":{},"sources":["s"],
            "confidence":"documented"})",
         "f.json: entry 2 (B x): baud 14400 is not one of the page's rates"},
        {R"({"brand":"B","family":"x","baud":9600,"parity":"mark","codes":{},"sources":["s"],
            "confidence":"documented"})",
         "f.json: entry 2 (B x): parity: expected none, odd or even, not \"mark\""},
        {R"({"brand":"B","family":"x","baud":9600,"parity":"none","codes":{"video":"1G"},
            "sources":["s"],"confidence":"documented"})",
         "f.json: entry 2 (B x): codes.video: \"1G\" is not a byte (one or two hex digits)"},
        {R"({"brand":"B","family":"x","baud":9600,"parity":"none","codes":{},"sources":[],
            "confidence":"documented"})",
         "f.json: entry 2 (B x): no source: name the maker's protocol document"},
        {R"({"brand":"B","family":"x","baud":9600,"parity":"none","codes":{},"sources":["s"],
            "confidence":"sure"})",
         "f.json: entry 2 (B x): confidence must be \"documented\" or \"verified on hardware\", "
         "not \"sure\""},
        {R"({"brand":"B","family":"x","parity":"none","codes":{},"sources":["s"],
            "confidence":"documented"})",
         "f.json: entry 2 (B x): baud: missing"},
        {R"(7)", "f.json: entry 2: expected an object"},
    };
    for (const Case& c : cases) {
        Library library;
        add_library_text(library, R"({"projectors":[)" + good + "," + c.entry + "]}", "f.json");
        ASSERT_EQ(library.entries.size(), 1u) << c.entry;
        EXPECT_EQ(library.entries[0].brand, "A");
        EXPECT_EQ(library.problems, std::vector<std::string>{c.problem});
    }
    Library too_long;
    const std::string codes = hex_bytes_text(Bytes(117, 0x41));
    add_library_text(too_long,
                     R"({"projectors":[{"brand":"L","family":"x","baud":9600,"parity":"none",
                        "codes":{"power_on":")" +
                         codes + R"(","power_off":")" + codes +
                         R"("},"sources":["s"],"confidence":"documented"}]})",
                     "f.json");
    EXPECT_EQ(too_long.problems,
              std::vector<std::string>{"f.json: entry 1 (L x): the four codes hold more than 232 "
                                       "bytes, more than one request carries"});
}

TEST(projector_library, user_entries_come_first_and_a_broken_file_is_named)
{
    TempDir dir;
    const fs::path user = dir.write("user.json", R"({"projectors":[{"brand":"Epson",
        "family":"ESC/VP21","baud":19200,"parity":"even","codes":{},"sources":["site test"],
        "confidence":"verified on hardware"}]})");
    const Library library = load_library(user, ZK_SHIPPED_LIBRARY);
    ASSERT_GT(library.entries.size(), 1u);
    EXPECT_EQ(library.entries[0].baud, 19200u);
    EXPECT_EQ(projectors::entry_name(library.entries[0]),
              projectors::entry_name(library.entries[1]));

    EXPECT_TRUE(load_library(dir.path / "absent.json", ZK_SHIPPED_LIBRARY).problems.empty());
    const Library no_shipped = load_library({}, dir.path / "absent.json");
    ASSERT_EQ(no_shipped.problems.size(), 1u);
    EXPECT_NE(no_shipped.problems[0].find("absent.json"), std::string::npos);
    const fs::path broken = dir.write("broken.json", "{\"projectors\": [");
    EXPECT_EQ(load_library(broken, {}).problems,
              std::vector<std::string>{broken.string() + ": not valid JSON"});
}

// What each hostile file is refused as: the file named, the entry and the key where it has them.
struct HostileFile
{
    const char* what;
    std::string text;
    std::string problem; // after "PATH: "
};

const std::string acme = R"({"brand":"Acme","family":"X1","baud":9600,"parity":"none",
    "codes":{"power_on":"01","power-off":"03 04"},"sources":["s"],"confidence":"documented"})";
const std::string deep = std::string(300'000, '[') + std::string(300'000, ']');

TEST(projector_library, hostile_files_load_nothing_they_do_not_say)
{
    TempDir dir;
    const HostileFile cases[] = {
        {"a typo in a code's name", R"({"projectors":[)" + acme + "]}",
         "entry 1 (Acme X1): codes.power-off: unknown key"},
        {"a typo in an entry's key", R"({"projectors":[{"brand":"Acme","family":"X1","bauds":1}]})",
         "entry 1 (Acme X1): bauds: unknown key"},
        {"a key beside the list", R"({"projectors":[],"projector":[]})", "projector: unknown key"},
        {"a key twice", R"({"projectors":[{"brand":"A","brand":"B"}]})",
         "projectors[0].brand: given twice"},
        {"nested deep", R"({"projectors":)" + deep + "}",
         "projectors[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0][0][0]: nested more than 32 levels deep"},
        {"too large", std::string((4u << 20) + 1, ' '),
         "is larger than a projector library may be (at most 4 MiB)"},
    };
    for (const HostileFile& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir.write("f.json", c.text);
        const Library library = load_library(file, {});
        EXPECT_TRUE(library.entries.empty());
        EXPECT_EQ(library.problems, std::vector<std::string>{file.string() + ": " + c.problem});
    }
}

TEST(room_file, hostile_files_are_refused_naming_the_key)
{
    TempDir dir;
    const HostileFile cases[] = {
        {"a typo in a code's name", acme, "codes.power-off: unknown key"},
        {"a key twice", R"({"baud":9600,"baud":19200})", "baud: given twice"},
        {"nested deep", R"({"codes":)" + deep + "}",
         "codes[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0][0]: nested more than 32 levels deep"},
        {"too large", std::string((1u << 20) + 1, ' '),
         "is larger than a room file may be (at most 1 MiB)"},
    };
    for (const HostileFile& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir.write("room.json", c.text);
        const auto read = read_room_file(file);
        ASSERT_TRUE(std::holds_alternative<std::string>(read));
        EXPECT_EQ(std::get<std::string>(read), file.string() + ": " + c.problem);
    }
}

TEST(room_file, writes_and_reads_back_one_rooms_codes)
{
    TempDir dir;
    ProjectorEntry room;
    room.baud = 38400;
    room.parity = 2;
    room.codes = {Bytes{0xA9, 0x17}, Bytes{}, Bytes{0x0D}, Bytes{0x00, 0xFF}};
    ASSERT_EQ(write_room_file(dir.path / "room.json", room), std::nullopt);
    auto back = read_room_file(dir.path / "room.json");
    ASSERT_TRUE(std::holds_alternative<ProjectorEntry>(back)) << std::get<std::string>(back);
    const ProjectorEntry& read = std::get<ProjectorEntry>(back);
    EXPECT_EQ(read.baud, 38400u);
    EXPECT_EQ(read.parity, 2);
    EXPECT_EQ(read.codes, room.codes);

    const fs::path bad = dir.write("bad.json", R"({"baud":9600,"parity":"none","codes":[]})");
    EXPECT_EQ(std::get<std::string>(read_room_file(bad)),
              bad.string() + ": codes: expected an object");
    EXPECT_NE(write_room_file(dir.path, room), std::nullopt);
}

} // namespace
} // namespace zk::projectors
