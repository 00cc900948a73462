#pragma once
// card import and card check: every card of a CSV file, one request each, with a progress bar
// on a terminal and a summary that names each line that failed.
#include <string>

#include "cli/context.h"

namespace zk::cli {

// Registers (check: looks up) every card of the file on the controller at `host`. The file is
// checked whole before anything is sent.
void run_card_file(Context& context, const std::string& host, const std::string& file, bool check);

// "[########            ]  400/1000" for `done` of `total`, `width` marks wide.
std::string progress_bar(std::size_t done, std::size_t total, std::size_t width = 30);

} // namespace zk::cli
