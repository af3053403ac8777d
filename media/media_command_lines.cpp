#include "media_command_lines.h"

#include "command_line.h"

namespace {

const QChar kSpace = QLatin1Char(' ');

QString OnMedium(const QString& tool, const QString& medium, const char* verb)
{
    return tool + kSpace + QuoteArgument(medium) + kSpace + QLatin1String(verb);
}

QString SizeText(qint64 bytes)
{
    const struct { qint64 unit; char suffix; } units[] = {
        {qint64(1) << 30, 'G'}, {qint64(1) << 20, 'M'}, {qint64(1) << 10, 'K'}};
    for (const auto& u : units)
        if (bytes % u.unit == 0)
            return QString::number(bytes / u.unit) + QLatin1Char(u.suffix);
    return QString::number(bytes);
}

} // namespace

QString CreateImageCommand(const QString& tool, const QString& image, const NewImageLayout& layout)
{
    QString line = OnMedium(tool, image, "create");
    if (layout.sizeBytes > 0)
        line += QLatin1String(" --size ") + SizeText(layout.sizeBytes);
    else
        line += QStringLiteral(" --cyl %1 --heads %2 --spt %3")
                    .arg(layout.geometry.cylinders)
                    .arg(layout.geometry.heads)
                    .arg(layout.geometry.sectors);
    if (layout.halved)
        line += QLatin1String(" --halved");
    if (layout.format == ImageFormat::Raw)
        line += QLatin1String(" --raw");
    else if (layout.format == ImageFormat::Hdf10)
        line += QLatin1String(" --hdf10");
    return line;
}

QString NewPartCommand(const QString& tool, const QString& medium, const QString& name, int megabytes,
                       PartitionKind kind, QChar driveLetter)
{
    QString line = OnMedium(tool, medium, "newpart") + kSpace + QuoteArgument(name) + kSpace +
                   QString::number(megabytes) + QLatin1String("M --type ") +
                   QLatin1String(kind == PartitionKind::Swap ? "swap" : "plus3dos");
    if (!driveLetter.isNull())
        line += QLatin1String(" --drive ") + driveLetter.toUpper();
    return line;
}

QString DelPartCommand(const QString& tool, const QString& medium, const QString& partition)
{
    return OnMedium(tool, medium, "delpart") + kSpace + QuoteArgument(partition);
}

QString RenPartCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& newName)
{
    return OnMedium(tool, medium, "renpart") + kSpace + QuoteArgument(partition) + kSpace +
           QuoteArgument(newName);
}

QString DriveCommand(const QString& tool, const QString& medium, const QString& partition,
                     QChar driveLetter)
{
    return OnMedium(tool, medium, "drive") + kSpace + QuoteArgument(partition) + kSpace +
           (driveLetter.isNull() ? QStringLiteral("-") : QString(driveLetter.toUpper()));
}

QString EmptyCommand(const QString& tool, const QString& medium, const QString& partition)
{
    return OnMedium(tool, medium, "empty") + kSpace + QuoteArgument(partition);
}

QString CheckCommand(const QString& tool, const QString& medium)
{
    return OnMedium(tool, medium, "check");
}
