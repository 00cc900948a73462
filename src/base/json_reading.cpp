#include "base/json_reading.h"

#include <algorithm>
#include <set>

namespace zk {

JsonError::JsonError(const std::string& path, const std::string& problem)
    : std::runtime_error(path.empty() ? problem : path + ": " + problem)
{}

JsonAt::JsonAt(const nlohmann::json& value, std::string path)
    : value_(&value), path_(std::move(path))
{}

void JsonAt::refuse(const std::string& problem) const
{
    throw JsonError(path_, problem);
}

const JsonAt& JsonAt::object() const
{
    if (!value_->is_object()) refuse("expected an object");
    return *this;
}

bool JsonAt::has(std::string_view key) const
{
    return value_->is_object() && value_->contains(key);
}

JsonAt JsonAt::operator[](std::string_view key) const
{
    object();
    const std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    const auto found = value_->find(key);
    if (found == value_->end()) throw JsonError(path, "missing");
    return JsonAt(*found, path);
}

std::vector<JsonAt> JsonAt::list() const
{
    if (!value_->is_array()) refuse("expected a list");
    std::vector<JsonAt> items;
    for (std::size_t i = 0; i < value_->size(); ++i)
        items.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]");
    return items;
}

std::string JsonAt::text() const
{
    if (!value_->is_string()) refuse("expected a text");
    return value_->get<std::string>();
}

bool JsonAt::flag() const
{
    if (!value_->is_boolean()) refuse("expected true or false");
    return value_->get<bool>();
}

std::uint64_t JsonAt::whole_number(std::uint64_t max) const
{
    if (!value_->is_number_unsigned() || value_->get<std::uint64_t>() > max)
        refuse("expected a whole number from 0 to " + std::to_string(max));
    return value_->get<std::uint64_t>();
}

void JsonAt::only_keys(std::initializer_list<std::string_view> known) const
{
    object();
    for (const auto& [key, member] : value_->items()) {
        if (std::find(known.begin(), known.end(), key) == known.end())
            throw JsonError(path_.empty() ? key : path_ + "." + key, "unknown key");
    }
}

namespace {

// Where the parser is, followed event by event, for the refusals only the reading can make.
class ParsePlace
{
public:
    bool on(int, nlohmann::json::parse_event_t event, nlohmann::json& parsed)
    {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            if (open_.size() >= json_depth_limit)
                throw JsonError(path(), "nested more than " + std::to_string(json_depth_limit) +
                                            " levels deep");
            open_.push_back({event == Event::object_start, {}, {}, 0});
            break;
        case Event::key:
            open_.back().key = parsed.get<std::string>();
            if (!open_.back().keys.insert(open_.back().key).second)
                throw JsonError(path(), "given twice");
            break;
        case Event::object_end:
        case Event::array_end:
            open_.pop_back();
            item_done();
            break;
        case Event::value:
            item_done();
            break;
        }
        return true;
    }

private:
    struct Open
    {
        bool object;
        std::set<std::string, std::less<>> keys;
        std::string key;
        std::size_t index;
    };

    void item_done()
    {
        if (!open_.empty() && !open_.back().object) ++open_.back().index;
    }

    std::string path() const
    {
        std::string text;
        for (const Open& open : open_) {
            if (!open.object)
                text += "[" + std::to_string(open.index) + "]";
            else if (!open.keys.empty())
                text += (text.empty() ? "" : ".") + open.key;
        }
        return text;
    }

    std::vector<Open> open_;
};

} // namespace

nlohmann::json parse_json_document(std::string_view text)
{
    ParsePlace place;
    nlohmann::json document = nlohmann::json::parse(
        text,
        [&place](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
            return place.on(depth, event, parsed);
        },
        false);
    if (document.is_discarded()) throw JsonError({}, "not valid JSON");
    return document;
}

} // namespace zk
