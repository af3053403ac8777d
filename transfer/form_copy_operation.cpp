#include "form_copy_operation.h"

#include "prompts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

TFormCopyOperation::TFormCopyOperation(Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FormCopyOperation"));
    setWindowTitle(tr("Specify copy operation"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    RadioButton1 = new QRadioButton(tr("Binary mode (no header)"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(tr("+3DOS"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));

    Label1 = new QLabel(tr("Address"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    NumEdit = new QLineEdit(this);
    NumEdit->setObjectName(QStringLiteral("NumEdit"));
    NumEdit->setAccessibleName(tr("Load address"));
    NumEdit->setMinimumWidth(NumEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    NumEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Whole numbers only; a sign and numbers beyond the range can be typed,
    // so that OK can say what is wrong with them.
    NumEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-+]?[0-9]{0,9}")), NumEdit));
    Label1->setBuddy(NumEdit);
    NumEdit->installEventFilter(this);

    BitBtn1 = new QPushButton(tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(tr("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    // Laid out, so that the captions are never cut in a larger font; the
    // buttons stand in the desktop's order.
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(BitBtn1, QDialogButtonBox::AcceptRole);
    buttons->addButton(BitBtn2, QDialogButtonBox::RejectRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(RadioButton1, 0, 0, 1, 3);
    layout->addWidget(RadioButton2, 1, 0);
    layout->addWidget(Label1, 1, 1);
    layout->addWidget(NumEdit, 1, 2);
    layout->setColumnStretch(2, 1);
    layout->setRowMinimumHeight(2, 8);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioButton1, &QRadioButton::clicked, this, &TFormCopyOperation::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFormCopyOperation::RadioButton2Click);
    // Typing an address means a load address is wanted, as clicking does.
    connect(NumEdit, &QLineEdit::textEdited, this, [this] {
        if (!RadioButton2->isChecked())
            NumEditClick();
    });
    connect(BitBtn1, &QPushButton::clicked, this, &TFormCopyOperation::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormCopyOperation::reject);
}

void TFormCopyOperation::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TFormCopyOperation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == NumEdit && event->type() == QEvent::MouseButtonPress)
        NumEditClick();
    return QDialog::eventFilter(watched, event);
}

void TFormCopyOperation::RadioButton1Click()
{
    NumEdit->setReadOnly(true);
    NumEdit->clear();
}

void TFormCopyOperation::RadioButton2Click()
{
    NumEdit->setReadOnly(false);
}

void TFormCopyOperation::NumEditClick()
{
    NumEdit->setReadOnly(false);
    RadioButton2->setChecked(true);
}

void TFormCopyOperation::BitBtn1Click()
{
    Command = QStringLiteral("put");
    Address.clear();
    if (RadioButton2->isChecked()) {
        bool isNumber = false;
        const qlonglong value = NumEdit->text().trimmed().toLongLong(&isNumber);
        const qlonglong address = isNumber ? value : 0;
        if (address < 0 || address > kMaxAddress) {
            m_prompts.message(tr("Address invalid."));
            Command.clear();
            Address = QStringLiteral("0");
        } else {
            Command = QStringLiteral("putbin");
            Address = QString::number(address);
        }
    }
    accept();
}
