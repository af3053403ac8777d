#include "form_select_device.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

TFormSelectDevice::TFormSelectDevice(const QStringList& devices, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelectDevice"));
    setWindowTitle(QStringLiteral("Select physical device"));

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->addItems(devices);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setFixedWidth(202);

    CmdSelect = new QPushButton(QStringLiteral("Select"));
    CmdSelect->setObjectName(QStringLiteral("CmdSelect"));
    CmdSelect->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("Cancel"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ComboBox1, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    layout->addWidget(CmdSelect, 0, Qt::AlignVCenter);
    layout->addWidget(CmdCancel, 0, Qt::AlignVCenter);
    setFixedSize(340, 74);

    connect(CmdSelect, &QPushButton::clicked, this, [this] {
        m_result = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
        accept();
    });
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        m_result.clear();
        reject();
    });
}
