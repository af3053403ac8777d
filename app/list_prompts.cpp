#include "list_prompts.h"

#include <QDialog>

#include <cstdio>

namespace {

void Print(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    std::fprintf(stderr, "3eharnwick: %s\n", line.trimmed().toLocal8Bit().constData());
}

} // namespace

void ListPrompts::error(const QString& text)
{
    m_failed = true;
    Print(text);
}

void ListPrompts::information(const QString& text)
{
    Print(text);
}

void ListPrompts::message(const QString& text)
{
    Print(text);
}

Prompts::Answer ListPrompts::confirm(const QString& text)
{
    Print(text);
    return Answer::Cancel;
}

QStringList ListPrompts::openFiles(const FileDialogRequest&)
{
    return {};
}

QString ListPrompts::saveFile(const FileDialogRequest&)
{
    return {};
}

QString ListPrompts::chooseFolder(const QString&, const QString&)
{
    return {};
}

std::optional<QString> ListPrompts::inputText(const InputRequest&)
{
    return std::nullopt;
}

int ListPrompts::execDialog(QDialog&)
{
    return QDialog::Rejected;
}
