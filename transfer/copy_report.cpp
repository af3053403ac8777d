#include "copy_report.h"

void CopyReport::failed(const QString& what, const QString& reason)
{
    failures_.append({what, reason});
}

QString CopyReport::statusText(bool aborted) const
{
    if (allCopied())
        return aborted ? QStringLiteral("Copy aborted") : QStringLiteral("Copy completed");
    const Failure& first = failures_.first();
    return QStringLiteral("%1, %2 of %3 not copied: %4: %5")
        .arg(aborted ? QStringLiteral("Copy aborted") : QStringLiteral("Copy incomplete"))
        .arg(failedCount())
        .arg(failedCount() + copied_)
        .arg(first.what, first.reason);
}

QString CopyReport::failureText() const
{
    if (allCopied())
        return QString();
    QString text = QStringLiteral("%1 of %2 could not be copied:\r\n")
                       .arg(failedCount())
                       .arg(failedCount() + copied_);
    for (qsizetype i = 0; i < failures_.size() && i < kListedFailures; ++i)
        text += QStringLiteral("\r\n%1: %2").arg(failures_[i].what, failures_[i].reason);
    if (failures_.size() > kListedFailures)
        text += QStringLiteral("\r\n... and %1 more").arg(failures_.size() - kListedFailures);
    return text;
}
