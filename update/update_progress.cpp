#include "update_progress.h"

#include <algorithm>

namespace update {

int roundedPercent(qint64 part, qint64 whole)
{
    part = std::clamp<qint64>(part, 0, whole);
    // Exact integer arithmetic: part * 100 cannot overflow for any file size
    // a disk can hold, and there is no floating-point tie to lose.
    const qint64 scaled = part * 100;
    qint64 quotient = scaled / whole;
    const qint64 twiceRemainder = 2 * (scaled % whole);
    if (twiceRemainder > whole || (twiceRemainder == whole && quotient % 2 == 1))
        ++quotient;
    return static_cast<int>(quotient);
}

UpdateProgress updateProgress(qint64 received, qint64 total)
{
    UpdateProgress progress;
    progress.received = received;
    progress.total = total > 0 ? total : 0;
    if (progress.total > 0)
        progress.percent = roundedPercent(received, progress.total);
    return progress;
}

QString UpdateProgress::percentText() const
{
    return percent ? QString::number(*percent) + QLatin1Char('%') : QString();
}

QString UpdateProgress::statusText() const
{
    QString text = QStringLiteral("Check for 3E update (") + QString::number(received);
    if (total > 0)
        text += QLatin1Char('/') + QString::number(total);
    return text + QLatin1Char(')');
}

} // namespace update
