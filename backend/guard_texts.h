#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the error boxes that commands show when what they need is not
// there. Each guard text is written here once; the commands of every folder
// show these. They are marked for translation in the context "Guard" and
// shown through guardText().
namespace guard {

inline constexpr const char* kNoPartitionSelected =
    QT_TRANSLATE_NOOP("Guard", "No partition selected.");
inline constexpr const char* kNoFilesInPartition =
    QT_TRANSLATE_NOOP("Guard", "No files in partition.");
inline constexpr const char* kNoFileSelected = QT_TRANSLATE_NOOP("Guard", "No file selected.");
// A file command while the list shows the partition table.
inline constexpr const char* kInvalidOperation = QT_TRANSLATE_NOOP("Guard", "Invalid operation.");
// A command started while another one runs; %1 names the running one.
inline constexpr const char* kCommandRunning =
    QT_TRANSLATE_NOOP("Guard", "\"%1\" is still running. Try again when it has ended.");
inline constexpr const char* kNoDevice =
    QT_TRANSLATE_NOOP("Guard", "No compatible physical device found.");

// One of the texts above in the user's language.
inline QString guardText(const char* text)
{
    return QCoreApplication::translate("Guard", text);
}

} // namespace guard
