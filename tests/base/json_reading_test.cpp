#include "base/json_reading.h"

#include <functional>

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(json_reading, every_refusal_names_the_members_path)
{
    const nlohmann::json document = nlohmann::json::parse(R"({
        "serial": {"baud": "fast", "parity": 3, "codes": [1, "x"]},
        "volume": 256, "negative": -1, "half": 0.5, "on": "yes", "list": 5, "seven": 7})");
    const JsonAt root(document);
    struct Case
    {
        const char* what;
        std::function<void()> read;
        const char* message;
    };
    const Case cases[] = {
        {"missing nested", [&] { (void)root["serial"]["stop"]; }, "serial.stop: missing"},
        {"object expected", [&] { (void)root["seven"]["x"]; }, "seven: expected an object"},
        {"object", [&] { (void)root["list"].object(); }, "list: expected an object"},
        {"text", [&] { (void)root["serial"]["parity"].text(); }, "serial.parity: expected a text"},
        {"number from text", [&] { (void)root["serial"]["baud"].whole_number(9); },
         "serial.baud: expected a whole number from 0 to 9"},
        {"above max", [&] { (void)root["volume"].whole_number(255); },
         "volume: expected a whole number from 0 to 255"},
        {"negative", [&] { (void)root["negative"].whole_number(255); },
         "negative: expected a whole number from 0 to 255"},
        {"fraction", [&] { (void)root["half"].whole_number(255); },
         "half: expected a whole number from 0 to 255"},
        {"flag", [&] { (void)root["on"].flag(); }, "on: expected true or false"},
        {"list", [&] { (void)root["list"].list(); }, "list: expected a list"},
        {"list item", [&] { (void)root["serial"]["codes"].list()[1].whole_number(1); },
         "serial.codes[1]: expected a whole number from 0 to 1"},
        {"unknown key",
         [&] {
             root["serial"].only_keys({"baud", "parity"});
         },
         "serial.codes: unknown key"},
        {"refusal of the caller", [&] { root["serial"]["parity"].refuse("not 3"); },
         "serial.parity: not 3"},
        {"document", [] { (void)parse_json_document("{\"a\": "); }, "not valid JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.read();
            ADD_FAILURE() << "accepted";
        } catch (const JsonError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(json_reading, hostile_documents_are_refused_while_read_naming_the_place)
{
    const std::string deep = std::string(300'000, '[') + std::string(300'000, ']');
    const std::string at_limit =
        std::string(json_depth_limit, '[') + std::string(json_depth_limit, ']');
    struct Case
    {
        const char* what;
        std::string text;
        const char* message; // nullptr: read
    };
    const Case cases[] = {
        {"deep lists", deep,
         "[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0][0][0][0][0][0][0]: nested more than 32 levels deep"},
        {"deep in a member", R"({"modules": [{"colour": )" + deep + "}]}",
         "modules[0].colour[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0][0][0]: nested more than 32 levels deep"},
        {"as deep as allowed", at_limit, nullptr},
        {"key twice", R"({"baud": 9600, "baud": 19200})", "baud: given twice"},
        {"key twice, nested", R"({"l": [1, {"s": {"a": 1, "b": {}, "a": 2}}]})",
         "l[1].s.a: given twice"},
        {"same key in two objects", R"({"a": {"k": 1}, "b": {"k": 1}, "k": [{"k": 1}, {"k": 2}]})",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            (void)parse_json_document(c.text);
            EXPECT_EQ(c.message, nullptr) << "accepted";
        } catch (const JsonError& error) {
            EXPECT_STREQ(error.what(), c.message ? c.message : "(read)");
        }
    }
}

TEST(json_reading, good_members_are_read)
{
    const nlohmann::json document =
        parse_json_document(R"({"a": {"b": 255, "t": "x", "f": false}, "l": [1, 2]})");
    const JsonAt root(document);
    EXPECT_EQ(root["a"]["b"].whole_number(255), 255u);
    EXPECT_EQ(root["a"]["t"].text(), "x");
    EXPECT_FALSE(root["a"]["f"].flag());
    EXPECT_TRUE(root["a"].has("t"));
    EXPECT_FALSE(root["a"].has("z"));
    EXPECT_FALSE(root["l"].has("a"));
    EXPECT_EQ(root["l"].list().size(), 2u);
    EXPECT_NO_THROW(root["a"].only_keys({"b", "t", "f"}));
}

} // namespace
} // namespace zk
