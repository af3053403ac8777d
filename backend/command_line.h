#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The tool is started without a shell: its whole command line (as the
// builders write it) is split into arguments here.
//
// Splitting rule:
//  - blanks (spaces and tabs) outside a quoted stretch separate arguments;
//  - a double quote opens or closes a quoted stretch and is not part of the
//    argument; stretches and plain text next to each other form one argument
//    (so "/tmp/dir"/ gives /tmp/dir/ and "" gives an empty argument);
//  - a backslash directly before a double quote stands for a literal double
//    quote, inside or outside a quoted stretch;
//  - every other backslash is an ordinary character.

// One argument and where it came from in the command line.
struct CommandLineWord
{
    QString text;        // the argument the program receives
    qsizetype begin = 0; // first character of the word in the command line
    qsizetype end = 0;   // one past its last character
    bool quoted = false; // the word held a double quote (quoting or literal)
};

std::vector<CommandLineWord> SplitCommandLineWords(const QString& commandLine);

// The arguments alone.
QStringList SplitCommandLine(const QString& commandLine);

// The text that puts `text` into a command line as one quoted argument:
// normally `"` + text + `"`. A double quote in text is written \" ; a
// backslash before such a quote is kept apart from it; trailing backslashes
// are placed after the closing quote, since \" would otherwise hide the
// quote that closes the stretch. The result may be followed directly by
// "/", a blank or the end of the line and still splits back into text.
QString QuoteArgument(const QString& text);

// The text that puts `text` into a command line unquoted: text itself when it
// holds no blank and no double quote (so it splits back unchanged), otherwise
// QuoteArgument(text), so that it still reaches the program as one argument.
// An empty text stays empty (and gives no argument).
QString BareArgument(const QString& text);

// The program and its arguments, found in a command line whose head is a
// program path that may contain blanks: the longest run of leading unquoted
// words that, joined with the blanks between them in the command line, names
// an existing file is the program; the following words are its arguments.
// When no run names a file, the first word is the program (which will then
// fail to start). An empty command line gives an empty program.
struct ResolvedCommand
{
    QString program;
    QStringList arguments;
};

ResolvedCommand ResolveCommandLine(const QString& commandLine);
