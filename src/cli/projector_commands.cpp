// zkctl projectors, and set serial --projector / --from.
#include "cli/projector_commands.h"

#include "base/program_folder.h"
#include "cli/table.h"
#include "cli/values.h"
#include "projectors/projector_library.h"
#include "protocol/code_text.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

projectors::Library load(Context& context, const std::string& library_file)
{
    const std::filesystem::path shipped = library_file.empty()
                                              ? projectors::shipped_library_file(program_folder())
                                              : std::filesystem::path(library_file);
    projectors::Library library =
        projectors::load_library(projectors::user_library_file(), shipped);
    for (const std::string& problem : library.problems)
        context.warn(problem);
    return library;
}

protocol::ProjectorCodes codes_of(const projectors::ProjectorEntry& entry)
{
    return {entry.baud, entry.parity, entry.codes};
}

void list_projectors(Context& context, const std::string& library_file)
{
    const projectors::Library library = load(context, library_file);
    ordered_json entries = ordered_json::array();
    std::string text;
    for (const projectors::ProjectorEntry& entry : library.entries) {
        entries.push_back(projectors::entry_to_json(entry));
        text += projectors::entry_name(entry) + "\t" + std::to_string(entry.baud) + " " +
                (entry.parity == 0   ? "8N1"
                 : entry.parity == 1 ? "8O1"
                                     : "8E1") +
                "\t" + protocol::code_to_text(entry.codes[0]) + "\t" + entry.confidence + "\n";
    }
    if (library.entries.empty() && !library.problems.empty()) context.fail_with(exit_local_error);
    context.print(ordered_json{{"projectors", entries}}, text);
}

} // namespace

void add_projector_commands(CLI::App& app, Context& context)
{
    auto library_file = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("projectors", "List the projector library (brand, family, codes)");
    command->add_option("--library", *library_file,
                        "A library file instead of the installed one (the user's file still "
                        "comes first)");
    command->callback([&context, library_file] { list_projectors(context, *library_file); });
}

void add_serial_source_options(CLI::App& command, SerialSource& source)
{
    command.add_option("--projector", source.projector,
                       "Start from this library entry (see zkctl projectors)");
    command.add_option("--from", source.from, "Start from a room's codes file (JSON)");
    command.add_option("--library", source.library, "A library file instead of the installed one");
    command.get_option("--from")->excludes("--projector");
}

std::optional<protocol::ProjectorCodes> serial_from_source(Context& context,
                                                           const SerialSource& source)
{
    if (!source.from.empty()) {
        auto room = projectors::read_room_file(source.from);
        if (const auto* problem = std::get_if<std::string>(&room)) refuse_input(*problem);
        return codes_of(std::get<projectors::ProjectorEntry>(room));
    }
    if (source.projector.empty()) return std::nullopt;
    const projectors::Library library = load(context, source.library);
    for (const projectors::ProjectorEntry& entry : library.entries) {
        if (projectors::entry_name(entry) == source.projector) return codes_of(entry);
    }
    refuse_input("--projector: no library entry " + quote_back(source.projector) +
                 " (zkctl projectors lists them)");
}

} // namespace zk::cli
