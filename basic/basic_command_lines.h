#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The disk tool's command lines for BASIC programs as text, written like the
// other builders (backend/command_builders.h): the tool's path unquoted at
// the head, the medium, host files and "partition:name" quoted with
// QuoteArgument, so that each reaches the tool as one argument unchanged.

// The lowest and highest autostart line the "Put BASIC text" dialog offers.
inline constexpr int kMinAutostartLine = 0;
inline constexpr int kMaxAutostartLine = 9999;

// listbas: the program partition:file as text (UTF-8, LF) on standard output.
QString ListBasCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& file);

// putbas: the text file textFile stored as the BASIC program partition:name,
// replacing a file of that name. With an autostart line, " --autostart N"
// follows (it overrides a #autostart line of the text). A line outside
// 0-9999 is not passed on: the caller's dialog keeps to that range.
QString PutBasCommand(const QString& tool, const QString& medium, const QString& textFile,
                      const QString& partition, const QString& name,
                      std::optional<int> autostart = std::nullopt);

// The bytes of a program text as putbas reads them: UTF-8 with LF line ends,
// the last line ended too. CR LF and lone CR become LF, so a text pasted from
// elsewhere keeps its line numbering.
QByteArray BasicTextFileBytes(const QString& text);

// The text listbas printed (its standard output as captured in a file): UTF-8
// decoded, line ends made LF, the final line end dropped, so that an editor
// shows no empty last line.
QString BasicTextFromListing(const QByteArray& output);
