#pragma once
// Keeps the state file current without holding up the answers. Saving 100,000 controllers takes
// seconds, longer than a tool waits for its reply; so a change only schedules a save, the file is
// written on a thread of its own, one write at a time, and changes made meanwhile are saved
// together after it with the state as it is then.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "net/dispatcher.h"
#include "sim/sim_state.h"

namespace zk::sim {

struct StateSnapshot
{
    ControllerStates controllers;
    NetworkModel network;
};

class StateKeeper
{
public:
    using Take = std::function<StateSnapshot()>;
    using Report = std::function<void(const std::string& error)>;

    // `take` copies the state on the thread that owns the keeper; `report` gets the message of a
    // failed background write (on the writing thread).
    StateKeeper(std::string path, Take take, Report report);
    // Flushes.
    ~StateKeeper();
    StateKeeper(const StateKeeper&) = delete;
    StateKeeper& operator=(const StateKeeper&) = delete;

    // Writes the file at once and waits; "" or why it failed.
    std::string save_now();
    // The state changed: a save follows once the event loop is free again.
    void changed();
    // Waits for the write in flight and writes what changed after it; for the end of the program.
    void flush();
    // Files written so far (tests and the log count them).
    int writes() const;

private:
    void hand_over();
    void written();
    void work();

    std::string path_;
    Take take_;
    Report report_;
    Dispatcher& owner_; // the owner's thread, where hand-overs and their completions run
    Timer schedule_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // for completions posted late
    bool dirty_ = false;     // changed while a write was in flight
    bool in_flight_ = false; // owner's view: handed over and not reported back yet

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<StateSnapshot> pending_;
    bool writing_ = false;
    bool stop_ = false;
    int writes_ = 0;
    std::thread worker_;
};

} // namespace zk::sim
