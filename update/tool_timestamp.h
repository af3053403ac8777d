#pragma once

#include <QDateTime>
#include <QString>

#include <compare>
#include <optional>

// The disk tool's last-write time as the update report compares it: the
// calendar fields in UTC down to the minute. Seconds are dropped, so two
// times within the same minute are equal.
namespace update {

struct ToolTimestamp
{
    // Field order is comparison order: date first, then hour and minute.
    int year = 1980;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;

    auto operator<=>(const ToolTimestamp&) const = default;
};

// The minute-precision UTC fields of a point in time.
ToolTimestamp toolTimestampOf(const QDateTime& time);

// The last-write time of the file at path; empty when there is no file.
std::optional<ToolTimestamp> readToolTimestamp(const QString& path);

// "3E.EXE updated (MM/DD/YYYY, HH.MM)".
QString toolUpdatedText(const ToolTimestamp& stamp);

// The report after an install: the "updated" text with the new time when the
// file at the tool's path got a later minute than before, else
// "No 3E.EXE update available" (also when no file is there afterwards).
// before is the time ahead of the install; a missing tool counts as
// 1 January 1980, 00:00 (the default ToolTimestamp).
QString toolUpdateReport(const ToolTimestamp& before, const std::optional<ToolTimestamp>& after);

} // namespace update
