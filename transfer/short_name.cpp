#include "short_name.h"

#include <QFileInfo>

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

QString ShortName(const QString& hostPath)
{
    const QString fileName = QFileInfo(hostPath).fileName();
    QStringView name = fileName;
    while (name.startsWith(u'.'))
        name = name.mid(1);
    const qsizetype dot = name.lastIndexOf(u'.');
    QString base = Plus3DosChars(dot < 0 ? name : name.left(dot));
    const QString extension =
        dot < 0 ? QString() : Plus3DosChars(name.mid(dot + 1)).left(kExtensionMax);
    if (base.isEmpty())
        base = QStringLiteral("_");
    if (base.size() > kBaseMax)
        base = base.left(kBaseMax - kShortenedEnding.size()) + kShortenedEnding;
    return extension.isEmpty() ? base : base + u'.' + extension;
}
