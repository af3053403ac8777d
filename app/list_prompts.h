#pragma once

#include "prompts.h"

// The prompts of a window that is never shown (`3eharnwick --list`): every
// message goes to standard error, every question is answered "Cancel", and
// an error is remembered so that the program can end with a failure code.
class ListPrompts : public Prompts
{
public:
    bool failed() const { return m_failed; }

    void error(const QString& text) override;
    void information(const QString& text) override;
    void message(const QString& text) override;
    Answer confirm(const QString& text) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QString> inputText(const InputRequest& request) override;
    int execDialog(QDialog& dialog) override;

private:
    bool m_failed = false;
};
