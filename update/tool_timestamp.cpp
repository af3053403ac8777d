#include "tool_timestamp.h"

#include "update_texts.h"

#include <QFileInfo>

namespace update {

ToolTimestamp toolTimestampOf(const QDateTime& time)
{
    const QDateTime utc = time.toUTC();
    const QDate date = utc.date();
    const QTime clock = utc.time();
    return {date.year(), date.month(), date.day(), clock.hour(), clock.minute()};
}

std::optional<ToolTimestamp> readToolTimestamp(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return toolTimestampOf(info.lastModified());
}

QString toolUpdatedText(const ToolTimestamp& stamp)
{
    return QString::asprintf("3E.EXE updated (%2.2d/%2.2d/%4.4d, %2.2d.%2.2d)", stamp.month,
                             stamp.day, stamp.year, stamp.hour, stamp.minute);
}

QString toolUpdateReport(const ToolTimestamp& before, const std::optional<ToolTimestamp>& after)
{
    if (after && *after > before)
        return toolUpdatedText(*after);
    return updateText(kNoUpdateText);
}

} // namespace update
