#include "cli/card_batch.h"

#include <ostream>

#include "base/file_read.h"
#include "base/ipv4_text.h"
#include "cli/card_file.h"
#include "cli/room_settings.h"
#include "cli/site_file.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;
using namespace protocol;

enum class CardOutcome
{
    registered, // check: found
    already_present,
    missing, // check: not registered
    refused,
    no_answer,
};

struct Tally
{
    std::map<CardOutcome, int> counts;
    ordered_json problems = ordered_json::array();
    std::size_t not_tried = 0; // cards left when the controller stopped answering
};

const char* reason(CardOutcome outcome)
{
    switch (outcome) {
    case CardOutcome::missing:
        return "not registered";
    case CardOutcome::refused:
        return "refused by the controller";
    case CardOutcome::no_answer:
        return "no answer";
    default:
        return "";
    }
}

CardOutcome one_card(Hs3Client& client, std::uint32_t card, bool check)
{
    const std::optional<Reply> reply =
        client.ask(check ? Request{LookUpCard{card}} : Request{RegisterCard{card}});
    if (!reply) return CardOutcome::no_answer;
    if (const auto* found = std::get_if<CardLookup>(&*reply))
        return found->found ? CardOutcome::registered : CardOutcome::missing;
    const auto* ack = std::get_if<CardRegistrationAck>(&*reply);
    if (ack && ack->result == RegistrationResult::registered) return CardOutcome::registered;
    if (ack && ack->result == RegistrationResult::already_present)
        return CardOutcome::already_present;
    return CardOutcome::refused;
}

ordered_json summary_json(const Tally& tally, bool check)
{
    const auto count = [&](CardOutcome o) {
        const auto found = tally.counts.find(o);
        return found == tally.counts.end() ? 0 : found->second;
    };
    const int failed = count(CardOutcome::refused) + count(CardOutcome::no_answer);
    ordered_json summary =
        check ? ordered_json{{"found", count(CardOutcome::registered)},
                             {"missing", count(CardOutcome::missing)}}
              : ordered_json{{"registered", count(CardOutcome::registered)},
                             {"already_present", count(CardOutcome::already_present)}};
    summary["failed"] = failed;
    if (tally.not_tried > 0) summary["not_tried"] = tally.not_tried;
    return summary;
}

// Sends the cards one by one until the controller has left `give_up_after` of them in a row
// unanswered: each would cost the whole time-out and retries again.
struct Progress
{
    std::size_t done = 0;
    std::size_t total = 0;
};

Tally send_cards(Context& context,
                 const CardFileRun& run,
                 const std::string& host,
                 const std::vector<CardLine>& cards,
                 Progress& progress)
{
    std::unique_ptr<Hs3Client> client = context.controller(host);
    Tally tally;
    int silent = 0;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (silent >= run.give_up_after) {
            tally.not_tried = cards.size() - i;
            context.warn(run.file + ":" + std::to_string(cards[i].line) + ": stopped here: " +
                         std::to_string(silent) + " cards in a row got no answer; this card and " +
                         std::to_string(tally.not_tried - 1) + " after it were not sent");
            break;
        }
        const CardOutcome outcome = one_card(*client, cards[i].card, run.check);
        silent = outcome == CardOutcome::no_answer ? silent + 1 : 0;
        ++tally.counts[outcome];
        if (*reason(outcome))
            tally.problems.push_back(
                {{"line", cards[i].line}, {"card", cards[i].card}, {"reason", reason(outcome)}});
        draw_progress(context, ++progress.done, progress.total);
    }
    return tally;
}

// The worst a run came to: a card refused or missing over one unanswered.
int status_of(const Tally& tally)
{
    if (tally.counts.contains(CardOutcome::refused) || tally.counts.contains(CardOutcome::missing))
        return exit_refused;
    return tally.counts.contains(CardOutcome::no_answer) ? exit_no_answer : exit_ok;
}

// One word for a room's run: no_answer as soon as one card got none.
const char* room_outcome(const Tally& tally, bool check)
{
    if (tally.counts.contains(CardOutcome::no_answer)) return "no_answer";
    if (status_of(tally) == exit_refused) return check ? "missing" : "refused";
    return check ? "found" : "registered";
}

// Room label and address of each room of the site file chosen, every address checked before
// anything is sent.
std::vector<std::pair<std::string, std::string>> site_rooms(Context& context,
                                                            const CardFileRun& run)
{
    const Site site = *load_site(run.site, false);
    std::vector<std::pair<std::string, std::string>> rooms;
    for (const std::string& mac : chosen_rooms(site, run.rooms, run.site)) {
        const SiteEntry& entry = site.at(mac);
        const std::string host = ipv4_text(entry.network.ip);
        checked_host(context.target(host));
        rooms.emplace_back(room_name(mac, entry), host);
    }
    return rooms;
}

// Rooms by outcome, as a table and as JSON.
struct RoomTable
{
    std::vector<std::vector<std::string>> lines{{"room", "host", "outcome"}};
    ordered_json rooms = ordered_json::array();

    void add(const std::string& room,
             const std::string& host,
             const std::string& outcome,
             const ordered_json& counts = ordered_json::object())
    {
        std::vector<std::string> line{room, host, outcome};
        for (const auto& [key, value] : counts.items())
            line.push_back(key + " " + value.dump());
        lines.push_back(line);
        ordered_json json{{"room", room}, {"host", host}, {"outcome", outcome}};
        json.update(counts);
        rooms.push_back(json);
    }
    void print(Context& context, ordered_json head) const
    {
        head["rooms"] = rooms;
        context.print(head, aligned_text(lines));
    }
};

// The card file on every room chosen, one after the other; a room that stops answering is left
// with the cards it got.
void run_on_rooms(Context& context, const CardFileRun& run, const std::vector<CardLine>& cards)
{
    const auto rooms = site_rooms(context, run);
    Progress progress{0, cards.size() * rooms.size()};
    RoomTable table;
    for (const auto& [room, host] : rooms) {
        const Tally tally = send_cards(context, run, host, cards, progress);
        context.fail_with(status_of(tally));
        table.add(room, host, room_outcome(tally, run.check), summary_json(tally, run.check));
    }
    table.print(context, {{"file", run.file}});
}

} // namespace

std::string progress_bar(std::size_t done, std::size_t total, std::size_t width)
{
    const std::size_t marks = total == 0 ? width : done * width / total;
    return "[" + std::string(marks, '#') + std::string(width - marks, ' ') + "]  " +
           std::to_string(done) + "/" + std::to_string(total);
}

void draw_progress(Context& context, std::size_t done, std::size_t total)
{
    if (!context.io.err_is_terminal) return;
    context.io.err << "\r" << progress_bar(done, total) << (done == total ? "\n" : "")
                   << std::flush;
}

void run_card_file(Context& context, const CardFileRun& run)
{
    const std::vector<CardLine> cards = read_card_file(utf8_path(run.file));
    if (!run.site.empty()) return run_on_rooms(context, run, cards);
    if (cards.empty()) context.warn("no cards in " + run.file);
    Progress progress{0, cards.size()};
    const Tally tally =
        cards.empty() ? Tally{} : send_cards(context, run, run.host, cards, progress);
    const ordered_json summary = summary_json(tally, run.check);
    ordered_json json{{"host", run.host}, {"file", run.file}};
    json.update(summary);
    json["problems"] = tally.problems;
    std::string human = key_value_text(summary);
    for (const auto& problem : tally.problems)
        human += run.file + ":" + problem["line"].dump() + ": card " + problem["card"].dump() +
                 ": " + problem["reason"].get<std::string>() + "\n";
    context.print(json, human);
    context.fail_with(status_of(tally));
}

void delete_card_in_rooms(Context& context, const CardFileRun& run, std::uint32_t card)
{
    RoomTable table;
    for (const auto& [room, host] : site_rooms(context, run)) {
        try {
            const bool deleted =
                expect<CardDeletionAck>(*context.controller(host), DeleteCard{card}, "the deletion")
                    .deleted;
            table.add(room, host, deleted ? "deleted" : "not_registered");
        } catch (const Exit& error) {
            if (error.code() != exit_no_answer) throw;
            context.fail_with(exit_no_answer);
            table.add(room, host, "no_answer");
        }
    }
    table.print(context, {{"card", card}});
}

} // namespace zk::cli
