#pragma once

#include <QDialog>
#include <QString>

class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Specify copy operation": asks how files from the desktop are put into a
// partition: in binary mode (no header), or with a +3DOS header loading at a
// typed address. The caller reads Command and Address after the dialog has
// closed: Command is "put" (Address empty), "putbin" (Address the checked
// number, 0 to 65535), or empty when the dialog was cancelled or the
// address was invalid.
class TFormCopyOperation : public QDialog
{
    Q_OBJECT

public:
    // `prompts` shows "Address invalid."; it must outlive the dialog.
    explicit TFormCopyOperation(Prompts& prompts, QWidget* parent = nullptr);

    QString Command; // {C}
    QString Address; // {A}

    QRadioButton* RadioButton1 = nullptr; // "Binary mode (no header)"
    QRadioButton* RadioButton2 = nullptr; // "+3DOS"
    QLabel* Label1 = nullptr;             // "Address"
    QLineEdit* NumEdit = nullptr;         // the address, a whole number
    QPushButton* BitBtn1 = nullptr;       // OK
    QPushButton* BitBtn2 = nullptr;       // Cancel

    // The highest load address.
    static constexpr int kMaxAddress = 65535;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RadioButton1Click();
    void RadioButton2Click();
    void NumEditClick();
    void BitBtn1Click();

    Prompts& m_prompts;
};
