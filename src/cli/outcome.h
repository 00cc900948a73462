#pragma once
// How zkctl ends: the exit codes scripts rely on, and the exception that carries one, with the
// message for the operator, from wherever the command gives up.
#include <stdexcept>
#include <string>

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

// Bad input from the operator: nothing is sent.
[[noreturn]] inline void refuse_input(const std::string& message)
{
    throw Exit(exit_usage, message);
}

} // namespace zk::cli
