#pragma once

#include <QCoreApplication>
#include <QString>

// The status texts of an update check, shown in status panel 2. They are
// marked for translation in the context "update" and shown through
// updateText().
namespace update {

inline constexpr const char* kHostResolvedText = QT_TRANSLATE_NOOP("update", "Host Resolved");
inline constexpr const char* kConnectedText = QT_TRANSLATE_NOOP("update", "Connected");
inline constexpr const char* kInvalidHostText = QT_TRANSLATE_NOOP("update", "Invalid host");
inline constexpr const char* kConnectionFailedText = QT_TRANSLATE_NOOP("update", "Connection Failed");
inline constexpr const char* kNoUpdateText = QT_TRANSLATE_NOOP("update", "No 3E.EXE update available");
// A tool the user cannot replace (installed by the package manager).
inline constexpr const char* kManagedToolText = QT_TRANSLATE_NOOP("update", "3E.EXE is managed by the system package");
// The menu entry's answer when there is no address to download from.
inline constexpr const char* kNoUpdateAddressText = QT_TRANSLATE_NOOP("update", "No update address is configured.");

// One of the texts above in the user's language.
inline QString updateText(const char* text)
{
    return QCoreApplication::translate("update", text);
}

} // namespace update
