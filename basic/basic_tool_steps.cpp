#include "basic_tool_steps.h"

#include "app_error.h"
#include "basic_command_lines.h"

#include <QFile>

#include <exception>

QString ListBasicProgram(const ToolRunner& tool, const QString& partition, const QString& file,
                         QString* text)
{
    text->clear();
    const QString error = tool.runForErrors(ListBasCommand(tool.toolPath, tool.medium, partition, file));
    if (!error.isEmpty())
        return error;
    QFile out(tool.outFile);
    if (!out.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot read the listing in %1\r\n").arg(tool.outFile);
    *text = BasicTextFromListing(out.readAll());
    return QString();
}

QString PutBasicText(const ToolRunner& tool, const QString& textFile, const QString& text,
                     const QString& partition, const QString& name, std::optional<int> autostart)
{
    const QByteArray bytes = BasicTextFileBytes(text);
    QFile file(textFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush())
        return QStringLiteral("Cannot write the program text to %1\r\n").arg(textFile);
    file.close();
    return tool.runForErrors(PutBasCommand(tool.toolPath, tool.medium, textFile, partition, name, autostart));
}

TFormBasicEditor::StoreFunction PutBasicStore(const ToolRunner& tool, const QString& partition,
                                              const QString& textFile)
{
    return [tool, partition, textFile](const QString& text, const QString& name) {
        try {
            return PutBasicText(tool, textFile, text, partition, name);
        } catch (...) {
            return ExceptionText(std::current_exception());
        }
    };
}
