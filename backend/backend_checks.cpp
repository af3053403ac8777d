#include "backend_checks.h"

#include "ansi_text.h"
#include "text_reader.h"

#include <QFileInfo>

QString BackendErrorText(const QString& errFile)
{
    QString text;
    for (const QByteArray& line : ReadTextFileLines(errFile)) {
        text += AnsiToQString(line);
        text += QLatin1String("\r\n");
    }
    return text;
}

bool ReadBackendErrors(const QString& errFile, const StatusPanelSetter& setPanel)
{
    setPanel(1, QString());
    setPanel(2, QString());
    const QString text = BackendErrorText(errFile);
    if (text.isEmpty())
        return false;
    setPanel(2, QStringLiteral("Fatal Error: ") + text);
    return true;
}

bool RequireBackend(const QString& toolPath, const ErrorDisplay& showError)
{
    if (QFileInfo(toolPath).isFile())
        return true;
    const QString text = QString::fromLatin1(kBackendMissingText);
    if (showError)
        showError(text);
    else
        ShowErrorBox(text);
    return false;
}
