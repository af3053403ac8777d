#include "tape_listing.h"

#include <QProcess>
#include <QRegularExpression>

TapeListing ListTape(const QString& path)
{
    TapeListing listing;
    QProcess tzxlist;
    tzxlist.start(QStringLiteral("tzxlist"), {path});
    if (!tzxlist.waitForFinished(30000)) {
        listing.text = QStringLiteral("tzxlist did not run: ") + tzxlist.errorString();
        return listing;
    }
    const QString errors = QString::fromLocal8Bit(tzxlist.readAllStandardError());
    listing.text = QString::fromLocal8Bit(tzxlist.readAllStandardOutput()) + errors;
    listing.accepted = tzxlist.exitStatus() == QProcess::NormalExit && tzxlist.exitCode() == 0 &&
                       !errors.contains(QLatin1String("error"));

    static const QRegularExpression typeLine(QStringLiteral(R"(Block type 0x([0-9a-fA-F]+))"));
    static const QRegularExpression lengthLine(QStringLiteral(R"(Block length: (\d+) bytes)"));
    static const QRegularExpression rawHeader(
        QStringLiteral(R"(Raw header: \S\S \| ([0-9a-f ]+) \|)"));
    for (const QString& line : listing.text.split(u'\n')) {
        if (line.startsWith(QLatin1String("--= Block #"))) {
            listing.blocks.append(ListedBlock{});
            continue;
        }
        if (listing.blocks.isEmpty())
            continue;
        ListedBlock& block = listing.blocks.last();
        if (auto m = typeLine.match(line); m.hasMatch())
            block.type = m.captured(1).toInt(nullptr, 16);
        else if (auto m = lengthLine.match(line); m.hasMatch())
            block.length = m.captured(1).toInt();
        else if (auto m = rawHeader.match(line); m.hasMatch())
            block.name = QByteArray::fromHex(m.captured(1).toLatin1());
        else if (line.contains(QLatin1String("Checksum:")))
            block.checksumPass = line.contains(QLatin1String("(PASS)"));
    }
    return listing;
}
