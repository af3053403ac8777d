#pragma once

#include <QDialog>
#include <QString>

class Prompts;
class QLineEdit;
class QPushButton;
class QToolButton;

// The destination folder dialog: "Select Destination Directory", a text field
// with the folder and a button beside it that opens a folder browser (which
// can make new folders), and the buttons "Select" and "Cancel". It is made
// afresh for each use and run modally through the prompts.
class TFormSelectDestDir : public QDialog
{
    Q_OBJECT

public:
    // lastDestDir fills the text field and is where the folder browser
    // starts. The browser is asked for through `prompts`.
    TFormSelectDestDir(Prompts& prompts, const QString& lastDestDir, QWidget* parent = nullptr);

    // The folder the user confirmed with "Select", exactly as typed; empty
    // after "Cancel" or when the dialog was closed any other way.
    QString SelectedFolder() const { return result_; }

    QLineEdit* DirectoryEdit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Select"
    QPushButton* BitBtn2 = nullptr; // "Cancel"

private:
    void SpeedButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();

    Prompts& prompts_;
    QString lastDestDir_;
    QString result_;
};
