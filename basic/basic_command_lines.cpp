#include "basic_command_lines.h"

#include "command_line.h"

namespace {

const QChar kSpace = QLatin1Char(' ');

QString NormalisedLineEnds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString ListBasCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& file)
{
    return tool + kSpace + QuoteArgument(medium) + QLatin1String(" listbas ") +
           QuoteArgument(partition + QLatin1Char(':') + file);
}

QString PutBasCommand(const QString& tool, const QString& medium, const QString& textFile,
                      const QString& partition, const QString& name, std::optional<int> autostart)
{
    QString line = tool + kSpace + QuoteArgument(medium) + QLatin1String(" putbas ") +
                   QuoteArgument(textFile) + kSpace + QuoteArgument(partition + QLatin1Char(':') + name);
    if (autostart && *autostart >= kMinAutostartLine && *autostart <= kMaxAutostartLine)
        line += QLatin1String(" --autostart ") + QString::number(*autostart);
    return line;
}

QByteArray BasicTextFileBytes(const QString& text)
{
    QString normalised = NormalisedLineEnds(text);
    if (!normalised.isEmpty() && !normalised.endsWith(QLatin1Char('\n')))
        normalised += QLatin1Char('\n');
    return normalised.toUtf8();
}

QString BasicTextFromListing(const QByteArray& output)
{
    QString text = NormalisedLineEnds(QString::fromUtf8(output));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}
