#include "form_select_device.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>

TFormSelectDevice::TFormSelectDevice(const QStringList& devices, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelectDevice"));
    setWindowTitle(tr("Select physical device"));

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->addItems(devices);
    ComboBox1->setCurrentIndex(-1);
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
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ComboBox1, 1, Qt::AlignVCenter);
    layout->addWidget(buttons, 0, Qt::AlignVCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdSelect, &QPushButton::clicked, this, [this] {
        m_result = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
        accept();
    });
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        m_result.clear();
        reject();
    });
}
