#include "form_select_device.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TFormSelectDevice::TFormSelectDevice(const QStringList& devices, QWidget* parent) : QDialog(parent)
{
    build(false);
    QList<DevicePickerEntry> entries;
    for (const QString& device : devices)
        entries.append({device, device});
    fill(entries);
}

TFormSelectDevice::TFormSelectDevice(DevicePickerLister lister, QWidget* parent)
    : QDialog(parent), m_lister(std::move(lister))
{
    build(true);
    fill(m_lister(false));
    connect(ChkFixed, &QCheckBox::toggled, this, [this](bool fixedToo) { fill(m_lister(fixedToo)); });
}

void TFormSelectDevice::build(bool withFixed)
{
    setObjectName(QStringLiteral("FormSelectDevice"));
    setWindowTitle(tr("Select physical device"));

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setAccessibleName(tr("Physical device"));
    ComboBox1->setMinimumWidth(202);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    CmdSelect = new QPushButton(tr("Select"));
    CmdSelect->setObjectName(QStringLiteral("CmdSelect"));
    CmdSelect->setDefault(true);
    CmdCancel = new QPushButton(tr("Cancel"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(CmdSelect, QDialogButtonBox::AcceptRole);
    buttons->addButton(CmdCancel, QDialogButtonBox::RejectRole);
    auto* row = new QHBoxLayout;
    row->addWidget(ComboBox1, 1, Qt::AlignVCenter);
    row->addWidget(buttons, 0, Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    if (withFixed) {
        ChkFixed = new QCheckBox(tr("Show fixed disks too"));
        ChkFixed->setObjectName(QStringLiteral("ChkFixed"));
        layout->addWidget(ChkFixed);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdSelect, &QPushButton::clicked, this, [this] {
        const int index = ComboBox1->currentIndex();
        m_result = index >= 0 ? ComboBox1->itemData(index).toString() : QString();
        accept();
    });
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        m_result.clear();
        reject();
    });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { ComboBox1->setToolTip(index >= 0 ? ComboBox1->itemText(index) : QString()); });
}

void TFormSelectDevice::fill(const QList<DevicePickerEntry>& entries)
{
    ComboBox1->clear();
    int widest = 0;
    for (const DevicePickerEntry& entry : entries) {
        ComboBox1->addItem(entry.caption, entry.device);
        widest = std::max(widest, ComboBox1->fontMetrics().horizontalAdvance(entry.caption));
    }
    ComboBox1->setCurrentIndex(-1);
    // The list drops down as wide as its longest line, beyond the box.
    ComboBox1->view()->setMinimumWidth(widest + 40);
}
