#pragma once

#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// The settings the main window keeps between runs.
struct HarnwickSettings
{
    QString toolPath;
    bool useSpectrumFont = false;
    bool checkUpdatesAtStartup = true;
    QString lastDiskImage;
    QStringList recentFiles; // oldest first, at most 4
    // The main window's client geometry (not maximised) and whether it was
    // maximised, as the user left it; none before the first close.
    std::optional<QRect> windowGeometry;
    bool windowMaximized = false;
    // What to do with dropped files an offer matches, by offer id (see
    // DropChoiceName): stored as "Drop<id>".
    QMap<QString, QString> dropChoices;
};

// The persistent store: an INI file read and written through QSettings.
// Value names are matched without regard to case ("Specfont" and "SpecFont"
// are one value); booleans are stored as integers.
class SettingsStore
{
public:
    // The file "3E Harnwick.ini" in `folder`. An empty folder means the
    // folder named by the environment variable HARNWICK_SETTINGS_DIR when it
    // is set, else "3E Harnwick" in the user's configuration folder.
    explicit SettingsStore(const QString& folder = {});

    QString filePath() const { return m_filePath; }

    // Reads "LastDiskImage", "3ePos", "Recent0".."Recent3", "Specfont" and
    // "Check3EUpdates" in that order into `settings`, which holds the
    // defaults. A boolean that is missing or is no integer, or a value of the
    // wrong type, ends the reading silently: the settings not read yet keep
    // their defaults. An empty or missing "3ePos" gives `defaultToolPath`.
    // The window's place ("WindowLeft", "WindowTop", "WindowWidth",
    // "WindowHeight", "WindowMaximized") is read apart from that chain: it is
    // taken only when all four numbers are there and the size is positive.
    // The "Drop<id>" values are read apart from that chain, each on its own.
    void read(HarnwickSettings& settings, const QString& defaultToolPath) const;

    // Writes "Recent0".. (one per entry; higher ones stay as they are),
    // "3ePos", "SpecFont", "Check3EUpdates", "LastDiskImage", the window's
    // place when the settings hold one, and one "Drop<id>" per drop choice.
    // Returns an error text, empty on success.
    QString write(const HarnwickSettings& settings) const;

private:
    QString m_filePath;
};
