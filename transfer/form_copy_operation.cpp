#include "form_copy_operation.h"

#include "prompts.h"

#include <QEvent>
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
    setWindowTitle(QStringLiteral("Specify copy operation"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(285, 116);

    RadioButton1 = new QRadioButton(QStringLiteral("Binary mode (no header)"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(16, 12, 160, 20);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("+3DOS"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(16, 40, 70, 20);

    Label1 = new QLabel(QStringLiteral("Address"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(96, 42, 50, 16);
    NumEdit = new QLineEdit(this);
    NumEdit->setObjectName(QStringLiteral("NumEdit"));
    NumEdit->setGeometry(150, 40, 116, 21);
    NumEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Whole numbers only; a sign and numbers beyond the range can be typed,
    // so that OK can say what is wrong with them.
    NumEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-+]?[0-9]{0,9}")), NumEdit));
    Label1->setBuddy(NumEdit);
    NumEdit->installEventFilter(this);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(104, 80, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(191, 80, 75, 25);

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
            m_prompts.message(QStringLiteral("Address invalid."));
            Command.clear();
            Address = QStringLiteral("0");
        } else {
            Command = QStringLiteral("putbin");
            Address = QString::number(address);
        }
    }
    accept();
}
