#include "cli/card_batch.h"

#include <ostream>

#include "cli/card_file.h"
#include "cli/room_settings.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;
using namespace protocol;

// A controller that has not answered this many cards in a row is gone; the rest are not sent.
constexpr int give_up_after = 3;

enum class CardOutcome
{
    registered, // check: found
    already_present,
    missing, // check: not registered
    refused,
    no_answer,
    not_sent,
};

struct Tally
{
    std::map<CardOutcome, int> counts;
    ordered_json problems = ordered_json::array();
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
    case CardOutcome::not_sent:
        return "not sent (the controller stopped answering)";
    default:
        return "";
    }
}

CardOutcome one_card(Hs3Client& client, std::uint32_t card, bool check)
{
    const std::optional<Reply> reply = client.ask(check ? card_lookup(card) : card_register(card));
    if (!reply) return CardOutcome::no_answer;
    if (const auto* found = std::get_if<CardLookup>(&*reply))
        return found->found ? CardOutcome::registered : CardOutcome::missing;
    const auto* ack = std::get_if<CardRegistrationAck>(&*reply);
    if (ack && ack->result == RegistrationResult::registered) return CardOutcome::registered;
    if (ack && ack->result == RegistrationResult::already_present)
        return CardOutcome::already_present;
    return CardOutcome::refused;
}

void draw(Context& context, std::size_t done, std::size_t total)
{
    if (!context.io.err_is_terminal) return;
    context.io.err << "\r" << progress_bar(done, total) << (done == total ? "\n" : "")
                   << std::flush;
}

ordered_json summary_json(const Tally& tally, bool check)
{
    const auto count = [&](CardOutcome o) {
        const auto found = tally.counts.find(o);
        return found == tally.counts.end() ? 0 : found->second;
    };
    const int failed =
        count(CardOutcome::refused) + count(CardOutcome::no_answer) + count(CardOutcome::not_sent);
    if (check)
        return {{"registered", count(CardOutcome::registered)},
                {"missing", count(CardOutcome::missing)},
                {"failed", failed}};
    return {{"registered", count(CardOutcome::registered)},
            {"already_present", count(CardOutcome::already_present)},
            {"failed", failed}};
}

} // namespace

std::string progress_bar(std::size_t done, std::size_t total, std::size_t width)
{
    const std::size_t marks = total == 0 ? width : done * width / total;
    return "[" + std::string(marks, '#') + std::string(width - marks, ' ') + "]  " +
           std::to_string(done) + "/" + std::to_string(total);
}

void run_card_file(Context& context, const std::string& host, const std::string& file, bool check)
{
    const std::vector<CardLine> cards = read_card_file(file);
    std::unique_ptr<Hs3Client> client = context.controller(host);
    Tally tally;
    int silent = 0;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const CardOutcome outcome = silent >= give_up_after
                                        ? CardOutcome::not_sent
                                        : one_card(*client, cards[i].card, check);
        silent = outcome == CardOutcome::no_answer ? silent + 1 : 0;
        ++tally.counts[outcome];
        if (*reason(outcome))
            tally.problems.push_back(
                {{"line", cards[i].line}, {"card", cards[i].card}, {"reason", reason(outcome)}});
        draw(context, i + 1, cards.size());
    }
    const ordered_json summary = summary_json(tally, check);
    ordered_json json{{"host", host}, {"file", file}};
    json.update(summary);
    json["problems"] = tally.problems;
    std::string human = key_value_text(summary);
    for (const auto& problem : tally.problems)
        human += file + ":" + problem["line"].dump() + ": card " + problem["card"].dump() + ": " +
                 problem["reason"].get<std::string>() + "\n";
    context.print(json, human);
    if (tally.counts.contains(CardOutcome::refused) || tally.counts.contains(CardOutcome::missing))
        context.fail_with(exit_refused);
    else if (tally.counts.contains(CardOutcome::no_answer))
        context.fail_with(exit_no_answer);
}

} // namespace zk::cli
