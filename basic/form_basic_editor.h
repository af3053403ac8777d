#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class BasicCodeEdit;
class BasicHighlighter;
class QAction;
class QLabel;

// The window in which a BASIC program is edited as text. The caller lists
// the program (listbas), shows it here and supplies the function that stores
// a text (putbas into a temporary text file); this window never runs the tool
// itself, so its behaviour is the same in tests.
//
// Save (Ctrl+S) stores the text under the file's name, Save as... under a
// name asked for. When the store function reports a fault, nothing else
// happens: the text stays as it is and unsaved, and a fault at a text
// position (the tool's "line L, column C: ...") puts the cursor there and
// marks the line; the message is shown in the status line under the text.
// Closing with unsaved changes asks Save / Discard / Cancel; a Save that fails
// keeps the window open. The caption names partition and file, with "*"
// while there are unsaved changes.
class TFormBasicEditor : public QWidget
{
    Q_OBJECT

public:
    enum class CloseAnswer { Save, Discard, Cancel };

    // Stores `text` as the program `name` in the edited file's partition.
    // Returns the tool's error text (standard error or the runner's message),
    // or an empty text when the program was stored.
    using StoreFunction = std::function<QString(const QString& text, const QString& name)>;
    // Asks what to do with unsaved changes; the question names the file.
    using CloseQuestion = std::function<CloseAnswer(const QString& question)>;
    // Asks for the name to store under (the current one offered); no value
    // when the user cancelled.
    using NameQuestion = std::function<std::optional<QString>(const QString& currentName)>;

    explicit TFormBasicEditor(QWidget* parent = nullptr);

    // Shows a program: the partition and file it came from and its text (as
    // listbas printed it, see BasicTextFromListing). The text counts as saved.
    void SetProgram(const QString& partition, const QString& fileName, const QString& text);

    void SetStoreFunction(StoreFunction store) { m_store = std::move(store); }
    // Both questions default to Qt dialogs; the main window routes them
    // through its prompts, tests answer them from a script.
    void SetCloseQuestion(CloseQuestion question) { m_closeQuestion = std::move(question); }
    void SetNameQuestion(NameQuestion question) { m_nameQuestion = std::move(question); }

    QString Partition() const { return m_partition; }
    QString FileName() const { return m_fileName; }
    QString Text() const;
    bool IsModified() const;

    // Stores the text under FileName(); true when it was stored. While a
    // store runs (the tool is waited for in a local event loop) a further
    // Save, Save as or close is refused.
    bool Save();
    // Asks for a name (a +3DOS name, see IsPlus3FileName) and stores the text
    // under it; on success the window edits that file from then on.
    bool SaveAs();

    BasicCodeEdit* Editor() const { return m_editor; }
    BasicHighlighter* Highlighter() const { return m_highlighter; }
    QAction* SaveAction() const { return m_saveAction; }
    QAction* SaveAsAction() const { return m_saveAsAction; }
    // The status line under the text: the last fault or "Saved ...".
    QString StatusText() const;

signals:
    // A program was stored under `name` in Partition(): the file list is
    // out of date.
    void Stored(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool StoreAs(const QString& name);
    void ShowFault(const QString& error);
    void UpdateCaption();

    QString m_partition;
    QString m_fileName;
    BasicCodeEdit* m_editor;
    BasicHighlighter* m_highlighter;
    QLabel* m_status;
    QAction* m_saveAction;
    QAction* m_saveAsAction;
    StoreFunction m_store;
    CloseQuestion m_closeQuestion;
    NameQuestion m_nameQuestion;
    bool m_storing = false;
};
