// Stand-ins for the main window's tool-run members until the main window's
// own definitions land; removed then.
#include "formmain.h"

#include "backend_checks.h"
#include "process_runner.h"

bool TFormMain::CheckBackend()
{
    return RequireBackend(ToolPath, [this](const QString& text) { prompts().error(text); });
}

bool TFormMain::BackendReportedErrors()
{
    return ReadBackendErrors(ErrFile, [this](int panel, const QString& text) { SetStatusPanel(panel, text); });
}

void TFormMain::RunBackend(const QString& commandLine)
{
    RunRedirected(commandLine, QString(), OutFile, ErrFile, QString(), true);
}
