#include "form_select_device.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

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
    setWindowTitle(QStringLiteral("Select physical device"));

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setFixedWidth(202);

    CmdSelect = new QPushButton(QStringLiteral("Select"));
    CmdSelect->setObjectName(QStringLiteral("CmdSelect"));
    CmdSelect->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("Cancel"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    auto* row = new QHBoxLayout;
    row->addWidget(ComboBox1, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(CmdSelect, 0, Qt::AlignVCenter);
    row->addWidget(CmdCancel, 0, Qt::AlignVCenter);
    auto* layout = new QGridLayout(this);
    layout->addLayout(row, 0, 0);
    if (withFixed) {
        ChkFixed = new QCheckBox(QStringLiteral("Show fixed disks too"));
        ChkFixed->setObjectName(QStringLiteral("ChkFixed"));
        layout->addWidget(ChkFixed, 1, 0);
    }
    setFixedSize(340, withFixed ? 98 : 74);

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
