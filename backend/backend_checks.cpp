#include "backend_checks.h"

#include "ansi_text.h"
#include "text_reader.h"

#include <QCoreApplication>
#include <QFileInfo>

QString BackendErrorText(const QString& errFile)
{
    QString text;
    for (const QByteArray& line : ReadTextFileLines(errFile)) {
        text += ToolTextToQString(line);
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
    setPanel(2, QCoreApplication::translate("BackendChecks", "Fatal Error: ") + text);
    return true;
}

QString BackendProblem(const QString& toolPath)
{
    const QFileInfo info(toolPath);
    if (!info.isFile())
        return QString::fromLatin1(kBackendMissingText);
    if (!info.isExecutable())
        return QString::fromLatin1(kBackendNotExecutableText) + toolPath;
    return {};
}

bool RequireBackend(const QString& toolPath, const ErrorDisplay& showError)
{
    const QString text = BackendProblem(toolPath);
    if (text.isEmpty())
        return true;
    if (showError)
        showError(text);
    else
        ShowErrorBox(text);
    return false;
}
