#pragma once

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// True for a name the disk tool writes: 1-8 characters, then optionally a
// dot and 0-3 characters, each of A-Z (a-z taken as upper case), 0-9 and
// ! # $ % & ' - @ ^ _ { } ~ ; blanks around it are ignored.
bool IsPlus3FileName(const QString& name);

// "Put BASIC text": asks for the +3DOS name a program text is stored under
// (prefilled with the host file's 8.3 name, ShortName) and its autostart
// line (empty for none, else 0-9999). OK is enabled only while both are
// valid. The caller runs the dialog through its prompts and then builds the
// putbas command line from Name() and Autostart().
class TFormPutBasic : public QDialog
{
    Q_OBJECT

public:
    explicit TFormPutBasic(const QString& hostFile, QWidget* parent = nullptr);

    // The name typed, trimmed and in upper case.
    QString Name() const;
    // The autostart line; no value when the field is empty.
    std::optional<int> Autostart() const;
    // True when OK may be pressed.
    bool IsAcceptable() const;

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* AutostartEdit() const { return m_autostart; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    void UpdateOk();

    QLineEdit* m_name;
    QLineEdit* m_autostart;
    QLabel* m_problem;
    QDialogButtonBox* m_buttons;
};
