#include "settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <cstdint>

namespace {

const char* const kStoreName = "3E Harnwick";
constexpr int kMaxRecent = 4;

// The stored key whose name equals `name` without regard to case, or `name`
// itself when none does.
QString StoredKey(const QSettings& store, const QString& name)
{
    const QStringList keys = store.childKeys();
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    }
    return name;
}

// Raised inside read() to end the reading at the first bad value.
struct StopReading
{
};

// A text value: missing reads as empty; anything QSettings did not read as
// one text (a list, a byte array, a typed @Variant) is of the wrong type.
QString ReadText(const QSettings& store, const QString& name)
{
    const QVariant value = store.value(StoredKey(store, name));
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString)
        throw StopReading{};
    return value.toString();
}

// A boolean stored as an integer: missing or not an integer stops the read.
bool ReadBoolean(const QSettings& store, const QString& name)
{
    const QVariant value = store.value(StoredKey(store, name));
    if (!value.isValid())
        throw StopReading{};
    bool ok = false;
    qint64 number = 0;
    if (value.typeId() == QMetaType::QString)
        number = value.toString().trimmed().toLongLong(&ok);
    else if (value.canConvert<qint64>() && value.typeId() != QMetaType::QStringList)
        number = value.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        throw StopReading{};
    return number != 0;
}

// Sets `name`, first removing keys that differ from it only in case.
void WriteValue(QSettings& store, const QString& name, const QVariant& value)
{
    const QStringList keys = store.childKeys();
    for (const QString& key : keys) {
        if (key != name && key.compare(name, Qt::CaseInsensitive) == 0)
            store.remove(key);
    }
    store.setValue(name, value);
}

// An integer value, if it is one.
std::optional<int> ReadInteger(const QSettings& store, const QString& name)
{
    bool ok = false;
    const int number = store.value(StoredKey(store, name)).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

void ReadWindowPlace(const QSettings& store, HarnwickSettings& settings)
{
    const auto left = ReadInteger(store, QStringLiteral("WindowLeft"));
    const auto top = ReadInteger(store, QStringLiteral("WindowTop"));
    const auto width = ReadInteger(store, QStringLiteral("WindowWidth"));
    const auto height = ReadInteger(store, QStringLiteral("WindowHeight"));
    if (left && top && width && height && *width > 0 && *height > 0)
        settings.windowGeometry = QRect(*left, *top, *width, *height);
    settings.windowMaximized = ReadInteger(store, QStringLiteral("WindowMaximized")).value_or(0) != 0;
}

} // namespace

SettingsStore::SettingsStore(const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = qEnvironmentVariable("HARNWICK_SETTINGS_DIR");
    if (dir.isEmpty()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QLatin1Char('/') + QLatin1String(kStoreName);
    }
    m_filePath = QDir(dir).filePath(QLatin1String(kStoreName) + QLatin1String(".ini"));
}

void SettingsStore::read(HarnwickSettings& settings, const QString& defaultToolPath) const
{
    settings.toolPath = defaultToolPath;
    QSettings store(m_filePath, QSettings::IniFormat);
    ReadWindowPlace(store, settings);
    try {
        settings.lastDiskImage = ReadText(store, QStringLiteral("LastDiskImage"));
        settings.toolPath = ReadText(store, QStringLiteral("3ePos"));
        if (settings.toolPath.isEmpty())
            settings.toolPath = defaultToolPath;
        for (int i = 0; i < kMaxRecent; ++i) {
            const QString entry = ReadText(store, QStringLiteral("Recent%1").arg(i));
            if (!entry.isEmpty())
                settings.recentFiles << entry;
        }
        settings.useSpectrumFont = ReadBoolean(store, QStringLiteral("Specfont"));
        settings.checkUpdatesAtStartup = ReadBoolean(store, QStringLiteral("Check3EUpdates"));
    } catch (const StopReading&) {
        // Reading ends here; what was not read keeps its default.
    }
    for (const QString& key : store.childKeys()) {
        if (key.size() <= 4 || !key.startsWith(QLatin1String("Drop"), Qt::CaseInsensitive))
            continue;
        const QVariant value = store.value(key);
        if (value.typeId() == QMetaType::QString)
            settings.dropChoices.insert(key.mid(4), value.toString());
    }
}

QString SettingsStore::write(const HarnwickSettings& settings) const
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return QCoreApplication::translate("SettingsStore", "Cannot create the folder %1").arg(info.absolutePath());
    QSettings store(m_filePath, QSettings::IniFormat);
    for (int i = 0; i < settings.recentFiles.size(); ++i)
        WriteValue(store, QStringLiteral("Recent%1").arg(i), settings.recentFiles[i]);
    WriteValue(store, QStringLiteral("3ePos"), settings.toolPath);
    WriteValue(store, QStringLiteral("SpecFont"), settings.useSpectrumFont ? 1 : 0);
    WriteValue(store, QStringLiteral("Check3EUpdates"), settings.checkUpdatesAtStartup ? 1 : 0);
    WriteValue(store, QStringLiteral("LastDiskImage"), settings.lastDiskImage);
    if (const auto& place = settings.windowGeometry) {
        WriteValue(store, QStringLiteral("WindowLeft"), place->left());
        WriteValue(store, QStringLiteral("WindowTop"), place->top());
        WriteValue(store, QStringLiteral("WindowWidth"), place->width());
        WriteValue(store, QStringLiteral("WindowHeight"), place->height());
        WriteValue(store, QStringLiteral("WindowMaximized"), settings.windowMaximized ? 1 : 0);
    }
    for (auto it = settings.dropChoices.cbegin(); it != settings.dropChoices.cend(); ++it)
        WriteValue(store, QStringLiteral("Drop") + it.key(), it.value());
    store.sync();
    if (store.status() != QSettings::NoError)
        return QCoreApplication::translate("SettingsStore", "Cannot write the settings file %1").arg(m_filePath);
    return {};
}
