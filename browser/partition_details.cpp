// Partition details: the tool's description of the selected partition in a
// view window of its own.
#include "formmain.h"

#include "ansi_text.h"
#include "command_builders.h"
#include "command_guards.h"
#include "form_view.h"
#include "text_reader.h"

#include <QTreeWidgetItem>

void TFormMain::Showpartitiondetails1Click()
{
    if (!CheckBackend())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(*this);
    if (!node)
        return;
    // Whatever node is selected, the medium's included: the tool's answer is
    // shown as it comes.
    const QString name = node->text(0);
    Tool().run(ShowPEntryCommand(ToolPath, CurrentMedium, name));
    if (BackendReportedErrors())
        return;

    QString text;
    for (const QByteArray& line : ReadTextFileLines(OutFile))
        text += AnsiToQString(line) + QStringLiteral("\r\n");
    if (text.isEmpty())
        text = QStringLiteral("No information available for partition.");

    // A new window each time; earlier ones stay open.
    auto* window = new TFormView(this);
    window->setWindowTitle(QStringLiteral("Show Partitition Details (") + name + QLatin1Char(')'));
    window->SetText(text);
    window->ShowText();
}
