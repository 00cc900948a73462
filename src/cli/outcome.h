#pragma once
// How zkctl ends: the exit codes scripts rely on, and the exception that carries one, with the
// message for the operator, from wherever the command gives up.
#include <stdexcept>
#include <string>
#include <string_view>

namespace zk::cli {

enum ExitCode : int
{
    exit_ok = 0,
    exit_differs = 1,     // site diff: the controllers no longer hold what the file does
    exit_no_answer = 2,   // nothing answered within the time-out and retries
    exit_refused = 3,     // the controller answered but did not do it
    exit_local_error = 4, // port taken, adapter missing
    exit_usage = 64,      // bad command line or input (unreadable file too); nothing was sent
};

class Exit : public std::runtime_error
{
public:
    Exit(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// What a write to one controller came to, each verified by reading it back.
enum class StepOutcome
{
    changed,
    unchanged,
    refused,   // by the controller, or it holds other values than written
    no_answer, // to the write, the read-back or the search after
};

// "changed", "unchanged", "refused", "no_answer": as reports and JSON name them.
inline std::string_view outcome_name(StepOutcome outcome)
{
    constexpr std::string_view names[] = {"changed", "unchanged", "refused", "no_answer"};
    return names[static_cast<int>(outcome)];
}

// The exit status an outcome earns: refused 3, no answer 2, otherwise 0.
inline int exit_status_of(StepOutcome outcome)
{
    if (outcome == StepOutcome::refused) return exit_refused;
    return outcome == StepOutcome::no_answer ? exit_no_answer : exit_ok;
}

// Bad input from the operator: nothing is sent.
[[noreturn]] inline void refuse_input(const std::string& message)
{
    throw Exit(exit_usage, message);
}

} // namespace zk::cli
