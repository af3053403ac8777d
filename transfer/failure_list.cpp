#include "failure_list.h"

#include "tool_steps.h"

#include <QCoreApplication>

void FailureList::add(const QString& what, const QString& reason)
{
    m_items << Item{what, reason};
}

QString FailureList::statusText(const QString& failedWord, const QString& doneWord, int total) const
{
    if (m_items.isEmpty())
        return {};
    const Item& first = m_items.first();
    return QCoreApplication::translate("FailureList", "%1, %2 of %3 not %4: %5: %6")
        .arg(failedWord)
        .arg(count())
        .arg(total)
        .arg(doneWord, first.what, FirstLine(first.reason));
}

QString FailureList::boxText(const QString& heading) const
{
    QString text = heading;
    for (int i = 0; i < count() && i < kListed; ++i)
        text += QStringLiteral("\r\n") + m_items[i].what + QStringLiteral(": ") +
                FirstLine(m_items[i].reason);
    if (count() > kListed)
        text += QStringLiteral("\r\n") +
                QCoreApplication::translate("FailureList", "(%1 more)").arg(count() - kListed);
    return text;
}
