#pragma once

#include <QDialog>
#include <QList>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

// One entry of the device picker: the line shown and the device it opens.
struct DevicePickerEntry
{
    QString caption;
    QString device;
};

// Lists the disks for the picker: removable ones, fixed ones too on request.
using DevicePickerLister = std::function<QList<DevicePickerEntry>(bool fixedToo)>;

// The device picker: a drop-down list of devices, "Select" and "Cancel".
class TFormSelectDevice : public QDialog
{
    Q_OBJECT

public:
    // The devices the tool's scan found, listed by name.
    explicit TFormSelectDevice(const QStringList& devices, QWidget* parent = nullptr);
    // The disks the device service knows, each with its size, maker,
    // connection and what was found on it; "Show fixed disks too" lists
    // them again with the fixed disks.
    explicit TFormSelectDevice(DevicePickerLister lister, QWidget* parent = nullptr);

    // The chosen device after "Select"; empty after "Cancel", after closing
    // the window, or when nothing was chosen.
    QString SelectedDevice() const { return m_result; }

    QComboBox* ComboBox1 = nullptr;
    QPushButton* CmdSelect = nullptr;
    QPushButton* CmdCancel = nullptr;
    QCheckBox* ChkFixed = nullptr; // only with a lister

private:
    void build(bool withFixed);
    void fill(const QList<DevicePickerEntry>& entries);

    DevicePickerLister m_lister;
    QString m_result;
};
