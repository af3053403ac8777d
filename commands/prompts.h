#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QWidget;

// What a file dialog is asked to show. The filter uses the "description|pattern|
// description|pattern" notation of the menu commands; it is turned into the
// dialog's own notation by the implementation.
struct FileDialogRequest
{
    QString title;
    QString defaultSuffix; // without the dot; empty for none
    QString fileName;      // initial file name, e.g. "*.hdf"
    QString filter;
    QString folder;        // the folder the dialog starts in
    bool multiple = false; // several files may be chosen (open dialogs only)
    bool confirmOverwrite = true; // save dialogs: ask before an existing file is chosen
};

// A one-line input box.
struct InputRequest
{
    QString caption;
    QString prompt;
    QString initial;
    int maxLength = 0; // 0: no limit
};

// Every modal question of the program goes through this interface: message
// boxes, file and folder dialogs, input boxes and modal dialogs of our own.
// The main window owns one; the real implementation shows Qt dialogs, tests
// install a scripted one that records each question and answers from a queue.
// New kinds of question are added as further virtual members here (with a
// Qt implementation in QtPrompts and a scripted one in the test support).
class Prompts
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // Caption "Error", one OK button.
    virtual void error(const QString& text) = 0;
    // Caption "Information", one OK button.
    virtual void information(const QString& text) = 0;
    // A plain message box captioned with the application title, one OK button.
    virtual void message(const QString& text) = 0;
    // Caption "Confirm", buttons Yes, No and Cancel.
    virtual Answer confirm(const QString& text) = 0;
    // Existing files only; an empty list means the user cancelled.
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    // An empty text means the user cancelled.
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    // A folder browser that can make new folders; empty when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    // No value when the user cancelled.
    virtual std::optional<QString> inputText(const InputRequest& request) = 0;
    // Runs a modal dialog of our own (preferences, about, device picker, ...)
    // and returns its result code (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog& dialog) = 0;
};

// The real prompts: Qt message boxes, file dialogs and input dialogs, parented
// to the given window.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget* parent) : m_parent(parent) {}

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
    QWidget* m_parent;
};

// A "description|pattern|description|pattern" filter in Qt's notation:
// "Tape (*.tap)|*.tap|All Files (*.*)|*.*" gives
// "Tape (*.tap *.TAP);;All Files (*)".
QString QtFileFilter(const QString& pipeFilter);
