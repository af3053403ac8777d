#pragma once

#include <QDialog>

class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The Preferences dialog: the tool's path (chosen with a file dialog, not
// typed), the Spectrum font and the update check at start-up, and Reset.
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
};
