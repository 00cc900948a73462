#pragma once
// Reading JSON documents people may have edited by hand (zksim's state, the projector library,
// zkctl's backups): every refusal names the member's path ("serial.baud: expected a text"), so
// the file's owner can find it, and all of them are one error type the callers prefix with the
// file's name.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace zk {

// A member that cannot be read: what() is "PATH: PROBLEM", or the problem alone for the document.
class JsonError : public std::runtime_error
{
public:
    JsonError(const std::string& path, const std::string& problem);
};

// A member of a document with the path that reaches it ("timings.screen", "modules[2].mac").
class JsonAt
{
public:
    explicit JsonAt(const nlohmann::json& value, std::string path = {});

    const nlohmann::json& value() const { return *value_; }
    const std::string& path() const { return path_; }

    // This member, refused unless it is an object.
    const JsonAt& object() const;
    // True when this is an object holding `key`.
    bool has(std::string_view key) const;
    // The member `key` of this object; "PATH.KEY: missing" when there is none.
    JsonAt operator[](std::string_view key) const;
    // The items of this list.
    std::vector<JsonAt> list() const;

    std::string text() const;
    bool flag() const;
    // A whole number from 0 to `max`; negative, fractional and larger numbers are refused.
    std::uint64_t whole_number(std::uint64_t max) const;
    // Refuses the first key of this object that is not in `known`: a typo must not be dropped
    // silently and then erased by the next save.
    void only_keys(std::initializer_list<std::string_view> known) const;

    [[noreturn]] void refuse(const std::string& problem) const;

private:
    const nlohmann::json* value_;
    std::string path_;
};

// Deeper than any file of ours: a document nested further is refused while it is read, before
// copying, printing or freeing it recurses past the stack's end.
constexpr std::size_t json_depth_limit = 32;

// The document in `text`; JsonError "not valid JSON" when it is none, a refusal naming the path
// when it is nested deeper than json_depth_limit or gives one key twice in an object (the last
// would win without a word).
nlohmann::json parse_json_document(std::string_view text);

} // namespace zk
