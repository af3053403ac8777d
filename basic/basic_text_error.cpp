#include "basic_text_error.h"

#include <QRegularExpression>
#include <QStringList>

std::optional<BasicTextError> ParseBasicTextError(const QString& toolError)
{
    // The position follows the start of the line or the ": " after the path.
    static const QRegularExpression mark(
        QStringLiteral("(?:^|: )line (\\d{1,9}), column (\\d{1,9}): "));
    const QStringList lines = toolError.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString& text : lines) {
        QRegularExpressionMatch last;
        for (auto it = mark.globalMatch(text); it.hasNext();)
            last = it.next();
        if (!last.hasMatch())
            continue;
        BasicTextError error;
        error.line = last.captured(1).toInt();
        error.column = last.captured(2).toInt();
        error.message = text.mid(last.capturedEnd()).trimmed();
        if (error.line < 1 || error.column < 1 || error.message.isEmpty())
            continue;
        return error;
    }
    return std::nullopt;
}
