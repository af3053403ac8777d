#pragma once

#include <stdexcept>
#include <string>

namespace p3tool::formats {

// Thrown by the floppy-image and name functions of this library when their input is malformed
// or cannot be served. what() is one line, suitable for printing after "3E.EXE: " as is.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace p3tool::formats
