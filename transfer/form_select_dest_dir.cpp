#include "form_select_dest_dir.h"

#include "prompts.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

const char* const kCaption = "Select Destination Directory";
constexpr int kWidth = 396;
constexpr int kHeight = 81;

} // namespace

TFormSelectDestDir::TFormSelectDestDir(Prompts& prompts, const QString& lastDestDir,
                                       QWidget* parent)
    : QDialog(parent), prompts_(prompts), lastDestDir_(lastDestDir)
{
    setObjectName(QStringLiteral("FormSelectDestDir"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFixedSize(kWidth, kHeight);

    DirectoryEdit1 = new QLineEdit(this);
    DirectoryEdit1->setObjectName(QStringLiteral("DirectoryEdit1"));
    DirectoryEdit1->setGeometry(8, 12, 350, 22);
    DirectoryEdit1->setText(lastDestDir);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setToolTip(QString::fromLatin1(kCaption));
    SpeedButton1->setGeometry(364, 12, 24, 22);

    BitBtn1 = new QPushButton(QStringLiteral("Select"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(224, 46, 80, 26);

    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(308, 46, 80, 26);

    connect(SpeedButton1, &QToolButton::clicked, this, &TFormSelectDestDir::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormSelectDestDir::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormSelectDestDir::BitBtn2Click);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
}

void TFormSelectDestDir::SpeedButton1Click()
{
    const QString folder = prompts_.chooseFolder(QString::fromLatin1(kCaption), lastDestDir_);
    if (!folder.isEmpty())
        DirectoryEdit1->setText(folder);
}

void TFormSelectDestDir::BitBtn1Click()
{
    result_ = DirectoryEdit1->text();
    accept();
}

void TFormSelectDestDir::BitBtn2Click()
{
    result_.clear();
    reject();
}
