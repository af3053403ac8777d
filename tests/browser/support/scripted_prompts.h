#pragma once

#include "prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <variant>

// The prompts that tests install in the main window: every question is
// recorded (kind, caption, text) and answered from a queue that the test
// fills beforehand. A question that finds no answer of its kind at the head
// of the queue fails the test and is answered as if the user cancelled.
class ScriptedPrompts : public Prompts
{
public:
    enum class Kind {
        Error,
        Information,
        Message,
        Confirm,
        OpenFiles,
        SaveFile,
        ChooseFolder,
        Input,
        Dialog
    };

    struct Record
    {
        Kind kind;
        QString caption; // "Error", "Information", "Confirm", a dialog's title
        QString text;    // the message, the prompt or the file filter
    };

    // A callback that drives a modal dialog (fills its fields, clicks its
    // buttons) and returns the dialog's result code.
    using DialogScript = std::function<int(QDialog&)>;

    // ---- Answers, taken in order ----
    ScriptedPrompts& answerConfirm(Answer answer);
    ScriptedPrompts& answerOpenFiles(const QStringList& files); // empty: cancel
    ScriptedPrompts& answerSaveFile(const QString& path);       // empty: cancel
    ScriptedPrompts& answerFolder(const QString& folder);       // empty: cancel
    ScriptedPrompts& answerInput(const QString& text);
    ScriptedPrompts& cancelInput();
    ScriptedPrompts& answerDialog(DialogScript script);
    // Clicks the named button of the next modal dialog (found by object name).
    ScriptedPrompts& clickInDialog(const QString& buttonName);
    // Chooses `device` in the device picker and clicks "Select".
    ScriptedPrompts& pickDevice(const QString& device);
    bool allAnswersUsed() const { return m_answers.empty(); }

    // ---- What was asked ----
    const QList<Record>& records() const { return m_records; }
    QStringList errors() const;       // texts of the error boxes
    QStringList informations() const; // texts of the information boxes
    QList<FileDialogRequest> fileRequests() const { return m_fileRequests; }
    QList<InputRequest> inputRequests() const { return m_inputRequests; }
    void clearRecords();

    // Prompts.
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
    struct FilesAnswer
    {
        QStringList files;
    };
    struct PathAnswer
    {
        QString path;
    };
    struct FolderAnswer
    {
        QString folder;
    };
    struct InputAnswer
    {
        std::optional<QString> text;
    };
    using AnswerItem =
        std::variant<Answer, FilesAnswer, PathAnswer, FolderAnswer, InputAnswer, DialogScript>;

    template <class T> std::optional<T> take(const char* question);

    std::deque<AnswerItem> m_answers;
    QList<Record> m_records;
    QList<FileDialogRequest> m_fileRequests;
    QList<InputRequest> m_inputRequests;
};
