#include "check_report.h"

#include <QRegularExpression>

namespace {

const QLatin1String kSound("no faults");
const QLatin1String kTable("partition table");

} // namespace

int CheckReport::faultCount() const
{
    int count = 0;
    for (const CheckSection& s : sections)
        count += int(s.faults.size());
    return count;
}

QString FaultInWords(const QString& fault)
{
    static const QRegularExpression entry(QStringLiteral(R"(\bentry (\d+) \((\d+):([^)]*)\))"));
    static const QRegularExpression leadingFile(QStringLiteral(R"(^(\d+):([^ :]+): )"));
    QString text = fault.trimmed();
    text.replace(entry, QStringLiteral("file \\3 of user \\2 (directory entry \\1)"));
    text.replace(leadingFile, QStringLiteral("file \\2 of user \\1: "));
    if (text.isEmpty())
        return text;
    text[0] = text[0].toUpper();
    if (!text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('!')))
        text += QLatin1Char('.');
    return text;
}

CheckReport ParseCheckOutput(const QString& output, int exitCode, const QString& errorText)
{
    CheckReport report;
    if (exitCode != 0 && exitCode != 3) {
        report.failure = errorText.trimmed().isEmpty()
                             ? QStringLiteral("The tool ended with exit code %1.").arg(exitCode)
                             : errorText.trimmed();
        return report;
    }
    // Lines with the same <where> in a row form one section: a partition
    // that happens to be called "partition table" still gets its own, since
    // the table's lines come first and end before the partitions' begin.
    QString current;
    for (const QString& raw : output.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon <= 0)
            continue;
        const QString where = line.left(colon);
        const QString what = line.mid(colon + 2).trimmed();
        const bool newSection = report.sections.empty() || where != current ||
                                (report.sections.size() == 1 && where == kTable && what == kSound &&
                                 !report.sections.back().faults.isEmpty());
        if (newSection) {
            const QString title = report.sections.empty() && where == kTable ? QStringLiteral("Partition table")
                                                                             : where;
            report.sections.push_back({title, {}});
            current = where;
        }
        if (what != kSound)
            report.sections.back().faults << FaultInWords(what);
    }
    // Faults reported by the exit code but not found in the lines.
    report.checked = exitCode == 0 || report.faultCount() > 0;
    if (!report.checked)
        report.failure = errorText.trimmed();
    return report;
}

QStringList CheckReportLines(const CheckReport& report)
{
    if (!report.checked)
        return {QStringLiteral("The medium could not be checked: %1").arg(report.failure)};
    const int faults = report.faultCount();
    QStringList lines{faults == 0 ? QStringLiteral("No faults found.")
                                  : faults == 1 ? QStringLiteral("1 fault found.")
                                                : QStringLiteral("%1 faults found.").arg(faults)};
    for (const CheckSection& s : report.sections) {
        lines << QString() << s.title;
        if (s.faults.isEmpty())
            lines << QStringLiteral("    No faults found.");
        for (const QString& f : s.faults)
            lines << QStringLiteral("    ") + f;
    }
    return lines;
}
