#include "projectors/projector_library.h"

#include <array>
#include <cstdlib>
#include <fstream>

#include "base/file_read.h"
#include "base/json_reading.h"
#include "base/program_folder.h"
#include "base/values.h"
#include "protocol/code_text.h"
#include "protocol/serial_line.h"

namespace zk::projectors {

namespace {

constexpr std::array<const char*, 4> code_keys = {"power_on", "power_off", "video", "computer"};

std::string optional_text(const JsonAt& object, const char* key, bool required)
{
    if (!required && !object.has(key)) return {};
    return object[key].text();
}

std::vector<std::string> texts_field(const JsonAt& object, const char* key, bool required)
{
    if (!required && !object.has(key)) return {};
    std::vector<std::string> texts;
    for (const JsonAt& item : object[key].list())
        texts.push_back(item.text());
    return texts;
}

std::uint8_t parity_field(const JsonAt& object)
{
    const JsonAt parity = object["parity"];
    const std::string name = parity.text();
    for (std::size_t i = 0; i < protocol::parity_names.size(); ++i) {
        if (name == protocol::parity_names[i]) return static_cast<std::uint8_t>(i);
    }
    parity.refuse("expected none, odd or even, not \"" + name + "\"");
}

std::array<Bytes, 4> codes_field(const JsonAt& object)
{
    const JsonAt codes = object["codes"].object();
    codes.only_keys({code_keys[0], code_keys[1], code_keys[2], code_keys[3]});
    std::array<Bytes, 4> bytes;
    for (std::size_t i = 0; i < code_keys.size(); ++i) {
        if (!codes.has(code_keys[i])) continue;
        const JsonAt code = codes[code_keys[i]];
        auto parsed = parse_hex_bytes(code.text());
        if (auto* bad = std::get_if<std::string>(&parsed))
            code.refuse("\"" + *bad + "\" is not a byte (one or two hex digits)");
        bytes[i] = std::get<Bytes>(std::move(parsed));
    }
    return bytes;
}

ProjectorEntry parse_entry(const JsonAt& object, bool library_entry)
{
    // A typo ("power-off") would otherwise leave that code empty, and writing the entry to a
    // controller would erase the code it holds.
    object.only_keys(
        {"brand", "family", "models", "baud", "parity", "codes", "sources", "confidence"});
    ProjectorEntry entry;
    entry.brand = optional_text(object, "brand", library_entry);
    entry.family = optional_text(object, "family", library_entry);
    entry.models = texts_field(object, "models", false);
    entry.baud = static_cast<std::uint32_t>(object["baud"].whole_number(0xFFFFFF));
    entry.parity = parity_field(object);
    entry.codes = codes_field(object);
    entry.sources = texts_field(object, "sources", library_entry);
    entry.confidence = optional_text(object, "confidence", library_entry);
    if (auto problem = entry_problem(entry, library_entry)) throw JsonError({}, *problem);
    return entry;
}

// "entry 3 (Epson ESC/VP21)", as far as the entry names itself.
std::string entry_label(const nlohmann::json& object, std::size_t index)
{
    std::string label = "entry " + std::to_string(index + 1);
    if (object.is_object() && object.contains("brand") && object["brand"].is_string()) {
        std::string name = object["brand"].get<std::string>();
        if (object.contains("family") && object["family"].is_string())
            name += " " + object["family"].get<std::string>();
        label += " (" + name + ")";
    }
    return label;
}

} // namespace

std::variant<ProjectorEntry, std::string> entry_from_json(const nlohmann::json& object,
                                                          bool library_entry)
{
    try {
        return parse_entry(JsonAt(object), library_entry);
    } catch (const JsonError& refused) {
        return refused.what();
    }
}

nlohmann::ordered_json entry_to_json(const ProjectorEntry& entry)
{
    nlohmann::ordered_json codes;
    for (std::size_t i = 0; i < code_keys.size(); ++i)
        codes[code_keys[i]] = hex_bytes_text(entry.codes[i]);
    nlohmann::ordered_json out;
    if (!entry.brand.empty()) out["brand"] = entry.brand;
    if (!entry.family.empty()) out["family"] = entry.family;
    if (!entry.models.empty()) out["models"] = entry.models;
    out["baud"] = entry.baud;
    out["parity"] = entry.parity < protocol::parity_names.size()
                        ? std::string(protocol::parity_names[entry.parity])
                        : "?";
    out["codes"] = codes;
    if (!entry.sources.empty()) out["sources"] = entry.sources;
    if (!entry.confidence.empty()) out["confidence"] = entry.confidence;
    return out;
}

void add_library_text(Library& library, std::string_view text, const std::string& file)
{
    nlohmann::json document;
    try {
        document = parse_json_document(text);
        JsonAt(document).only_keys({"projectors"});
        (void)JsonAt(document)["projectors"].list();
    } catch (const JsonError& error) {
        library.problems.push_back(file + ": " + error.what());
        return;
    }
    const nlohmann::json& entries = document["projectors"];
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto entry = entry_from_json(entries[i], true);
        if (auto* problem = std::get_if<std::string>(&entry))
            library.problems.push_back(file + ": " + entry_label(entries[i], i) + ": " + *problem);
        else
            library.entries.push_back(std::get<ProjectorEntry>(std::move(entry)));
    }
}

Library load_library(const std::filesystem::path& user_file,
                     const std::filesystem::path& shipped_file)
{
    Library library;
    for (const auto& [path, optional] : {std::pair{user_file, true}, {shipped_file, false}}) {
        if (path.empty()) continue;
        FileRead read = read_regular_file(path, projector_library_file);
        if (const auto* failure = std::get_if<ReadFailure>(&read)) {
            if (!(optional && failure->missing))
                library.problems.push_back(describe(path, *failure));
            continue;
        }
        add_library_text(library, std::get<std::string>(read), path.string());
    }
    return library;
}

std::filesystem::path user_library_file()
{
    return default_user_config_dir() / "projectors.json";
}

std::filesystem::path shipped_library_file(const std::filesystem::path& program_dir)
{
    const std::filesystem::path beside = program_dir / "projectors.json";
    std::error_code ignored;
    if (std::filesystem::is_regular_file(beside, ignored)) return beside;
    return program_dir.parent_path() / "share" / "zkconfig" / "projectors.json";
}

std::variant<ProjectorEntry, std::string> read_room_file(const std::filesystem::path& path)
{
    FileRead read = read_regular_file(path, room_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) return describe(path, *failure);
    nlohmann::json document;
    try {
        document = parse_json_document(std::get<std::string>(read));
    } catch (const JsonError& error) {
        return path.string() + ": " + error.what();
    }
    auto entry = entry_from_json(document, false);
    if (auto* problem = std::get_if<std::string>(&entry)) return path.string() + ": " + *problem;
    return entry;
}

std::optional<std::string> write_room_file(const std::filesystem::path& path,
                                           const ProjectorEntry& entry)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out << entry_to_json(entry).dump(2) << "\n";
    out.close();
    if (!out) return path.string() + ": cannot be written";
    return std::nullopt;
}

} // namespace zk::projectors
