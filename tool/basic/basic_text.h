#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace basic {

// A BASIC program as a +3DOS file holds it: the program lines, the
// variables area after them and the autostart line of the header
// (parameter 1; 32768 or more means none).
struct Program {
    static constexpr uint16_t kNoAutostart = 0x8000;
    std::vector<uint8_t> lines;
    std::vector<uint8_t> variables;
    uint16_t autostart = kNoAutostart;
};

// Where a text cannot be tokenised: 1-based line and column (in characters)
// of the text, and what was expected there.
class SyntaxError : public std::runtime_error {
public:
    SyntaxError(int line, int column, const std::string& what);
    int line() const { return line_; }
    int column() const { return column_; }
    const std::string& what_expected() const { return message_; }

private:
    int line_;
    int column_;
    std::string message_;
};

// The highest line number a program line can carry.
inline constexpr int kMaxLineNumber = 16383;

// The text form, a superset of zmakebas's input:
//   10 PRINT "HELLO": GO TO 10        one program line per text line
//   keywords in any case, GOTO GOSUB DEFFN OPEN# CLOSE# RANDOMISE accepted;
//   spaces and tabs outside strings and REM are dropped; a line ending in a
//   backslash continues on the next; lines starting with # are comments;
//   \a..\u UDG, \ + two of " .':" block graphic, \* or (c) copyright,
//   ` or pound sign, \\ backslash, \@ at sign, \{n} the byte n as it is
//   (decimal, 0x hex or 0 octal);
// and for an exact round trip:
//   \#XXXXXXXXXX  ten hex digits: right after a number, its hidden 5-byte
//                 value instead of the one the ROM would compute; anywhere
//                 else a 0x0E marker and these five bytes
//   line numbers 0-16383
//   #autostart N        header parameter 1 (N 0-65535; 32768 and above: none)
//   #variables HH HH .. bytes of the variables area (repeatable, appended)
//   #tail HH HH ..      bytes after the last line that form no line
// A byte written as \{n} is never part of a keyword or a number.
// Throws SyntaxError; never returns a partial program.
Program tokenise(std::string_view text);

// The text form of a program, one line per program line, ending in "\n";
// tokenise() of it gives back the same bytes, autostart and variables.
std::string listProgram(const Program& program);

// The bytes of one program line's body (without number, length and the
// final 0x0D) for the text after the line number.
std::vector<uint8_t> tokeniseBody(std::string_view body);

// The length of the keyword the tokeniser reads at the start of `text`
// (and its token), or 0; letterBefore: a letter stands right before it.
size_t keywordLength(std::string_view text, bool letterBefore, uint8_t* token = nullptr);

}  // namespace basic
