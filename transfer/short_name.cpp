#include "short_name.h"

#include <QFileInfo>
#include <QSet>

#include <string_view>

namespace {

constexpr qsizetype kBaseMax = 8;
constexpr qsizetype kExtensionMax = 3;
constexpr QLatin1String kShortenedEnding("~1");

bool IsPlus3DosNameChar(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    static constexpr std::string_view kMarks = "!#$%&'-@^_{}~";
    return c < 0x80 && kMarks.find(static_cast<char>(c)) != std::string_view::npos;
}

// Upper-cases a-z and puts "_" for every character a +3DOS name cannot hold.
QString Plus3DosChars(QStringView text)
{
    QString out;
    for (char32_t c : text.toUcs4()) {
        if (c >= 'a' && c <= 'z')
            c = c - 'a' + 'A';
        out.append(IsPlus3DosNameChar(c) ? QChar(static_cast<char16_t>(c)) : QChar(u'_'));
    }
    return out;
}

} // namespace

namespace {

// The short name of a host file with what numbering needs: the base before
// any "~1" the rule put, and whether the rule cut the base.
struct ShortNameParts
{
    QString base;      // the full base of +3DOS characters
    QString extension; // at most 3 characters, may be empty
    bool cut = false;  // the base was longer than 8 characters

    QString WithBase(const QString& b) const
    {
        return extension.isEmpty() ? b : b + u'.' + extension;
    }

    // The name with "~n" at the end of the base cut to fit.
    QString Numbered(int n) const
    {
        const QString ending = u'~' + QString::number(n);
        return WithBase(base.left(kBaseMax - ending.size()) + ending);
    }
};

ShortNameParts SplitShortName(const QString& hostPath)
{
    const QString fileName = QFileInfo(hostPath).fileName();
    QStringView name = fileName;
    while (name.startsWith(u'.'))
        name = name.mid(1);
    const qsizetype dot = name.lastIndexOf(u'.');
    ShortNameParts parts;
    parts.base = Plus3DosChars(dot < 0 ? name : name.left(dot));
    parts.extension = dot < 0 ? QString() : Plus3DosChars(name.mid(dot + 1)).left(kExtensionMax);
    if (parts.base.isEmpty())
        parts.base = QStringLiteral("_");
    parts.cut = parts.base.size() > kBaseMax;
    return parts;
}

QString CaseKey(const QString& name)
{
    return name.toUpper();
}

} // namespace

QString ShortName(const QString& hostPath)
{
    const ShortNameParts parts = SplitShortName(hostPath);
    return parts.cut ? parts.Numbered(1) : parts.WithBase(parts.base);
}

QStringList UniqueShortNames(const QStringList& hostPaths, const QStringList& partitionNames)
{
    QSet<QString> taken;
    for (const QString& name : partitionNames)
        taken.insert(CaseKey(name));
    QList<bool> chosen; // the host name is an 8.3 name already
    for (const QString& path : hostPaths) {
        const QString name = ShortName(path);
        chosen << (QFileInfo(path).fileName().compare(name, Qt::CaseInsensitive) == 0);
        if (chosen.back())
            taken.insert(CaseKey(name));
    }
    QStringList names;
    for (qsizetype i = 0; i < hostPaths.size(); ++i) {
        const ShortNameParts parts = SplitShortName(hostPaths[i]);
        QString name = ShortName(hostPaths[i]);
        if (!chosen[i]) {
            // Today's name first, then ~1, ~2, ... (a cut base's ~1 is
            // today's name); "~" and up to 6 digits leave a character of the
            // base.
            for (int n = parts.cut ? 2 : 1; taken.contains(CaseKey(name)) && n < 1000000; ++n)
                name = parts.Numbered(n);
            taken.insert(CaseKey(name));
        }
        names << name;
    }
    return names;
}

QString NextFreeName(const QString& name, const QStringList& taken)
{
    QSet<QString> keys;
    for (const QString& t : taken)
        keys.insert(CaseKey(t));
    if (!keys.contains(CaseKey(name)))
        return name;
    const qsizetype dot = name.indexOf(u'.');
    const QString part = dot < 0 ? name : name.left(dot);
    const QString type = dot < 0 ? QString() : name.mid(dot); // with its dot
    for (int n = 1; n < 10000000; ++n) {
        const QString number = QString::number(n);
        const QString candidate = part.left(kBaseMax - number.size()) + number + type;
        if (!keys.contains(CaseKey(candidate)))
            return candidate;
    }
    return name; // every variant taken: more names than a partition holds
}
