#include "sim/state_keeper.h"

namespace zk::sim {

StateKeeper::StateKeeper(std::string path, Take take, Report report)
    : path_(std::move(path)), take_(std::move(take)), report_(std::move(report)),
      owner_(Dispatcher::current()), schedule_(owner_), worker_([this] { work(); })
{}

StateKeeper::~StateKeeper()
{
    flush();
    *alive_ = false;
}

std::string StateKeeper::save_now()
{
    const StateSnapshot state = take_();
    const std::string error = save_sim_state(path_, state.controllers, state.network);
    const std::lock_guard lock(mutex_);
    if (error.empty()) ++writes_;
    return error;
}

void StateKeeper::changed()
{
    if (schedule_.active()) return;
    schedule_.start(std::chrono::milliseconds(0), [this] { hand_over(); });
}

void StateKeeper::hand_over()
{
    if (in_flight_) {
        dirty_ = true; // saved when the write in flight is done, with the state as it is then
        return;
    }
    in_flight_ = true;
    dirty_ = false;
    StateSnapshot state = take_();
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(state);
        writing_ = true;
    }
    wake_.notify_all();
}

void StateKeeper::written()
{
    in_flight_ = false;
    if (dirty_) hand_over();
}

void StateKeeper::work()
{
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_) return;
        const StateSnapshot state = std::move(*pending_);
        pending_.reset();
        lock.unlock();
        const std::string error = save_sim_state(path_, state.controllers, state.network);
        if (!error.empty() && report_) report_(error);
        lock.lock();
        if (error.empty()) ++writes_;
        writing_ = false;
        wake_.notify_all();
        owner_.post([this, alive = alive_] {
            if (*alive) written();
        });
    }
}

void StateKeeper::flush()
{
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !writing_; });
        if (!worker_.joinable()) return;
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
    if (schedule_.active() || dirty_) {
        schedule_.stop();
        dirty_ = false;
        if (const std::string error = save_now(); !error.empty() && report_) report_(error);
    }
}

int StateKeeper::writes() const
{
    const std::lock_guard lock(mutex_);
    return writes_;
}

} // namespace zk::sim
