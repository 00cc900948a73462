#include "cli/card_batch.h"

#include <ostream>

#include "base/file_read.h"
#include "cli/card_file.h"
#include "cli/room_settings.h"
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
Tally send_cards(Context& context, const CardFileRun& run, const std::vector<CardLine>& cards)
{
    std::unique_ptr<Hs3Client> client = context.controller(run.host);
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
        draw_progress(context, i + 1, cards.size());
    }
    return tally;
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
    if (cards.empty()) context.warn("no cards in " + run.file);
    const Tally tally = cards.empty() ? Tally{} : send_cards(context, run, cards);
    const ordered_json summary = summary_json(tally, run.check);
    ordered_json json{{"host", run.host}, {"file", run.file}};
    json.update(summary);
    json["problems"] = tally.problems;
    std::string human = key_value_text(summary);
    for (const auto& problem : tally.problems)
        human += run.file + ":" + problem["line"].dump() + ": card " + problem["card"].dump() +
                 ": " + problem["reason"].get<std::string>() + "\n";
    context.print(json, human);
    if (tally.counts.contains(CardOutcome::refused) || tally.counts.contains(CardOutcome::missing))
        context.fail_with(exit_refused);
    if (tally.counts.contains(CardOutcome::no_answer)) context.fail_with(exit_no_answer);
}

} // namespace zk::cli
