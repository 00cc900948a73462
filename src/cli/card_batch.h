#pragma once
// card import and card check: every card of a CSV file, one request each, with a progress bar
// on a terminal and a summary that names each line that failed.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/context.h"

namespace zk::cli {

struct CardFileRun
{
    std::string host;
    std::string file;
    bool check = false;             // look the cards up instead of registering them
    int give_up_after = 3;          // unanswered cards in a row after which the rest are not sent
    std::string site;               // instead of host: every room of this school's file
    std::vector<std::string> rooms; // with site: only these rooms
};

// Registers (check: looks up) every card of the file on the controller at `run.host`, or on
// every room of `run.site`. The file is checked whole before anything is sent; a controller that
// stops answering stops its run.
void run_card_file(Context& context, const CardFileRun& run);

// Deletes one card in every room of `run.site` (or those of `run.rooms`): a table of the rooms,
// each deleted, not_registered or no_answer. A room that did not have the card is no failure: a
// lost card need not have been registered everywhere.
void delete_card_in_rooms(Context& context, const CardFileRun& run, std::uint32_t card);

// "[########            ]  400/1000" for `done` of `total`, `width` marks wide.
std::string progress_bar(std::size_t done, std::size_t total, std::size_t width = 30);

// Redraws the bar on stderr when it is a terminal; the last step ends the line.
void draw_progress(Context& context, std::size_t done, std::size_t total);

} // namespace zk::cli
