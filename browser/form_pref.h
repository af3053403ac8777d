#pragma once

#include <QDialog>
#include <QList>

class DropRouter;
class Prompts;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

// The Preferences dialog: the tool's path (chosen with a file dialog, not
// typed), the Spectrum font and the update check at start-up, what is done
// with dropped files each drop offer matches, and Reset.
class TFormPref : public QDialog
{
    Q_OBJECT

public:
    TFormPref(Prompts& prompts, const QString& toolPath, bool useSpectrumFont, bool checkUpdates,
              QWidget* parent = nullptr);

    // The results after OK (or after a confirmed Reset): the path with every
    // double quote removed, and the two check boxes.
    QString ToolPathResult() const;
    bool UseSpectrumFontResult() const;
    bool CheckUpdatesResult() const;

    // One choice box per offer of `drops` ("Ask each time", the offer's way,
    // as plain files), set to what it remembers; ApplyDropChoices stores the
    // boxes back after OK.
    void ShowDropChoices(const DropRouter& drops);
    void ApplyDropChoices(DropRouter& drops) const;
    // The choice boxes, in the order of the offers (object names "Drop<id>").
    QList<QComboBox*> DropBoxes;

    QLineEdit* TxtFileName = nullptr;
    QPushButton* BtnBrowse = nullptr;
    QCheckBox* ChkSpectrum = nullptr;
    QCheckBox* Chk3EUpdates = nullptr;
    QPushButton* CmdReset = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;

private:
    void BrowseClick();
    void CmdResetClick();

    Prompts& m_prompts;
    QFormLayout* m_dropRows = nullptr;
};
