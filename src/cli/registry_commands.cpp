// card, fingerprint and auth: the controller's registry of cards and fingerprints and its
// authorisation check.
#include "cli/card_batch.h"
#include "cli/commands.h"
#include "cli/room_settings.h"
#include "cli/values.h"
#include "protocol/answer_rule.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;
using namespace protocol;

struct RegistryInput
{
    std::string host, card, file;
    std::string site;               // instead of host: every room of a school's file
    std::vector<std::string> rooms; // with site: only these
    double step_timeout = 0;        // 0: as long as the settings window waits
    int give_up_after = 3;
};

ordered_json card_command(Context& context, const std::string& what, const RegistryInput& in)
{
    const std::uint32_t card = what == "read" || what == "count" ? 0 : parse_card(in.card);
    std::unique_ptr<Hs3Client> c = context.controller(in.host);
    if (what == "read")
        return {{"card", expect<CardRead>(*c, AwaitCard{},
                                          "the card read (is a card on the "
                                          "reader?)")
                             .card}};
    if (what == "count") {
        const auto cards = expect<CardCount>(*c, ReadCardCount{}, "the card count").count;
        return {
            {"cards", cards},
            {"fingerprints",
             expect<FingerprintCount>(*c, ReadFingerprintCount{}, "the fingerprint count").count}};
    }
    if (what == "find")
        return {{"card", card},
                {"registered", expect<CardLookup>(*c, LookUpCard{card}, "the look-up").found}};
    if (what == "delete") {
        if (!expect<CardDeletionAck>(*c, DeleteCard{card}, "the deletion").deleted)
            throw Exit(exit_refused, "card " + std::to_string(card) + " is not registered");
        return {{"card", card}, {"deleted", true}};
    }
    const auto result = expect<CardRegistrationAck>(*c, RegisterCard{card}, "the registration");
    if (result.result == RegistrationResult::failed)
        throw Exit(exit_refused, "the controller did not register card " + std::to_string(card));
    return {{"card", card},
            {"result",
             result.result == RegistrationResult::registered ? "registered" : "already present"}};
}

std::string enrol_step_text(const FingerprintEnrolmentAck& ack)
{
    if (!ack.succeeded) return "step " + std::to_string(ack.step) + ": capture failed, start again";
    if (ack.step >= 4) return "step 4: fingerprint enrolled";
    return "step " + std::to_string(ack.step) + ": captured, place the same finger again";
}

void enrol(Context& context, const RegistryInput& in)
{
    std::unique_ptr<Hs3Client> c = context.controller(in.host);
    if (!context.globals.json) context.io.out << "place a finger on the reader\n" << std::flush;
    ordered_json steps = ordered_json::array();
    bool enrolled = false;
    bool failed = false;
    const auto step_wait =
        in.step_timeout > 0
            ? milliseconds(static_cast<long long>(in.step_timeout * 1000))
            : std::chrono::duration_cast<milliseconds>(protocol::answer_wait(EnrolFingerprint{}));
    const bool finished = c->follow(EnrolFingerprint{}, step_wait, [&](const Reply& reply) {
        const auto* ack = std::get_if<FingerprintEnrolmentAck>(&reply);
        if (!ack) return;
        steps.push_back({{"step", ack->step}, {"captured", ack->succeeded}});
        if (!context.globals.json) context.io.out << enrol_step_text(*ack) << "\n" << std::flush;
        enrolled = ack->succeeded && ack->step >= 4;
        failed = !ack->succeeded;
    });
    if (context.globals.json)
        context.io.out
            << ordered_json{{"host", in.host}, {"steps", steps}, {"enrolled", enrolled}}.dump(2)
            << "\n";
    if (!finished)
        throw Exit(exit_no_answer, "no answer from " + c->address() + " for the next step");
    if (failed) throw Exit(exit_refused, "enrolment failed; run the command again");
}

// --host, or --site with any --room: a command for one controller or for a school's rooms.
void add_host_or_site_options(CLI::App& command, RegistryInput& in)
{
    CLI::Option* host = command.add_option("--host", in.host, "The controller's IPv4 address");
    CLI::Option* site = command.add_option("--site", in.site,
                                           "Every room of this school's file, instead of --host");
    command.add_option("--room", in.rooms, "With --site: only this room (its label); repeat")
        ->allow_extra_args(false)
        ->needs(site);
    host->excludes(site);
}

// The run of a card file, refused without --host or --site (one of them is required).
CardFileRun file_run(const RegistryInput& in, bool check)
{
    if (in.host.empty() && in.site.empty())
        refuse_input("give --host ADDRESS, or --site SCHOOL.json for every room of a school");
    return {in.host, in.file, check, in.give_up_after, in.site, in.rooms};
}

void add_card_commands(CLI::App& app, Context& context, std::shared_ptr<RegistryInput> in)
{
    CLI::App* card = app.add_subcommand("card", "Registered swipe cards of a controller");
    card->require_subcommand(1);
    const std::pair<const char*, const char*> simple[] = {
        {"read", "Number of the card on the controller's reader"},
        {"add", "Register a card number"},
        {"find", "Whether a card number is registered"},
        {"delete", "Delete a card number (exit 3 when it was not registered)"},
        {"count", "Number of registered cards and fingerprints"},
    };
    for (const auto& [name, help] : simple) {
        const std::string what = name;
        CLI::App* command = card->add_subcommand(what, help);
        if (what != "read" && what != "count")
            command->add_option("CARD", in->card, "Card number, 0-4294967295")->required();
        if (what != "delete") {
            add_host_option(*command, in->host);
            command->callback([&context, in, what] {
                context.print_values(in->host, card_command(context, what, *in));
            });
            continue;
        }
        add_host_or_site_options(*command, *in);
        command->callback([&context, in] {
            const CardFileRun run = file_run(*in, false);
            if (run.site.empty())
                return context.print_values(in->host, card_command(context, "delete", *in));
            delete_card_in_rooms(context, run, parse_card(in->card));
        });
    }
    for (const bool check : {false, true}) {
        CLI::App* command = card->add_subcommand(
            check ? "check" : "import",
            check ? "Look up every card of a CSV file (exit 3 when any is missing)"
                  : "Register every card of a CSV file (first column: card number)");
        command->add_option("FILE", in->file, "CSV file, one card number per line")->required();
        add_host_or_site_options(*command, *in);
        command
            ->add_option("--give-up-after", in->give_up_after,
                         "Stop after this many cards in a row got no answer (default 3)")
            ->check(range(1, 1000000));
        command->callback([&context, in, check] { run_card_file(context, file_run(*in, check)); });
    }
}

} // namespace

void add_registry_commands(CLI::App& app, Context& context)
{
    auto in = std::make_shared<RegistryInput>();
    add_card_commands(app, context, in);

    CLI::App* finger = app.add_subcommand("fingerprint", "Fingerprints of a controller");
    finger->require_subcommand(1);
    CLI::App* enroll =
        finger->add_subcommand("enroll", "Enrol a finger at the controller's reader");
    enroll
        ->add_option("--step-timeout", in->step_timeout,
                     "Seconds to wait for each capture (15, as the settings window)")
        ->check(range(0.1, 600));
    add_host_option(*enroll, in->host);
    enroll->callback([&context, in] { enrol(context, *in); });
    CLI::App* forget = finger->add_subcommand("delete", "Delete the fingerprint");
    add_host_option(*forget, in->host);
    forget->callback([&context, in] {
        std::unique_ptr<Hs3Client> c = context.controller(in->host);
        if (!expect<FingerprintDeletionAck>(*c, DeleteFingerprint{}, "the deletion").deleted)
            throw Exit(exit_refused, "the controller did not delete the fingerprint");
        context.print_values(in->host, {{"fingerprint", "deleted"}});
    });

    CLI::App* auth = app.add_subcommand("auth", "The controller's authorisation check");
    auth->require_subcommand(1);
    for (const bool pause : {true, false}) {
        CLI::App* command = auth->add_subcommand(pause ? "pause" : "resume",
                                                 pause ? "Let everyone use the room until resumed"
                                                       : "Require a card or fingerprint again");
        add_host_option(*command, in->host);
        command->callback([&context, in, pause] {
            std::unique_ptr<Hs3Client> c = context.controller(in->host);
            const auto ack = expect<AuthorisationAck>(*c, SetAuthorisation{pause}, "the request");
            context.print_values(in->host, {{"authorisation", ack.paused ? "paused" : "resumed"}});
        });
    }
}

} // namespace zk::cli
