#pragma once

#include <stdexcept>
#include <string>

namespace p3tool {

// Exit codes of 3E.EXE.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,  // the medium, a partition, a file or a host file refused the command
    ExitUsage = 2,    // the command line itself is wrong
    ExitFaults = 3,   // "check" found faults
};

// A failure that ends the command: its message becomes the one line on
// standard error. The message names the path, partition or file concerned.
class ToolError : public std::runtime_error {
public:
    explicit ToolError(const std::string& message, int exitCode = ExitFailure)
        : std::runtime_error(message), exitCode_(exitCode)
    {
    }
    int exitCode() const { return exitCode_; }

private:
    int exitCode_;
};

// A failure reading or writing the medium or a host file.
class IoError : public ToolError {
public:
    explicit IoError(const std::string& message) : ToolError(message) {}
};

// A bad command line.
class UsageError : public ToolError {
public:
    explicit UsageError(const std::string& message) : ToolError(message, ExitUsage) {}
};

}  // namespace p3tool
