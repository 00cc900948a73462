#pragma once
// A settings window in memory wired to a recording sender, for driving page handlers.
#include <string>

#include "present/settings/context.h"
#include "support/hex.h"
#include "support/memory_controls.h"
#include "support/recording_sender.h"

namespace zk::present::test_page {

struct Page
{
    zk::test::MemorySettingsWindow window;
    zk::test::RecordingSender sender;
    protocol::ControllerLink link{sender, "192.168.1.200", 16006};
    SettingsContext context{window.view, link};

    // The payload of the only frame sent (frame bytes 7 up to the checksum), as hex pairs.
    std::string payload() const;
    // Every frame sent, as hex pairs, oldest first.
    std::vector<std::string> frames() const;
};

} // namespace zk::present::test_page
