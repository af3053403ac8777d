#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// The device picker: a drop-down list of device names, "Select" and "Cancel".
class TFormSelectDevice : public QDialog
{
    Q_OBJECT

public:
    explicit TFormSelectDevice(const QStringList& devices, QWidget* parent = nullptr);

    // The chosen device after "Select"; empty after "Cancel", after closing
    // the window, or when nothing was chosen.
    QString SelectedDevice() const { return m_result; }

    QComboBox* ComboBox1 = nullptr;
    QPushButton* CmdSelect = nullptr;
    QPushButton* CmdCancel = nullptr;

private:
    QString m_result;
};
