#include "form_select_dest_dir.h"

#include "prompts.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kCaption = QT_TRANSLATE_NOOP("TFormSelectDestDir", "Select Destination Directory");
// The folder field shows some fifty characters of a path at least.
constexpr int kPathChars = 50;

} // namespace

TFormSelectDestDir::TFormSelectDestDir(Prompts& prompts, const QString& lastDestDir,
                                       QWidget* parent)
    : QDialog(parent), prompts_(prompts), lastDestDir_(lastDestDir)
{
    setObjectName(QStringLiteral("FormSelectDestDir"));
    setWindowTitle(tr(kCaption));

    DirectoryEdit1 = new QLineEdit(this);
    DirectoryEdit1->setObjectName(QStringLiteral("DirectoryEdit1"));
    DirectoryEdit1->setAccessibleName(tr("Destination folder"));
    DirectoryEdit1->setMinimumWidth(DirectoryEdit1->fontMetrics().averageCharWidth() * kPathChars);
    DirectoryEdit1->setText(lastDestDir);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setToolTip(tr(kCaption));
    SpeedButton1->setAccessibleName(tr(kCaption));

    BitBtn1 = new QPushButton(tr("Select"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    BitBtn2 = new QPushButton(tr("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(BitBtn1, QDialogButtonBox::AcceptRole);
    buttons->addButton(BitBtn2, QDialogButtonBox::RejectRole);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(DirectoryEdit1, 1);
    pathRow->addWidget(SpeedButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(SpeedButton1, &QToolButton::clicked, this, &TFormSelectDestDir::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormSelectDestDir::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormSelectDestDir::BitBtn2Click);

    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormSelectDestDir::SpeedButton1Click()
{
    const QString folder = prompts_.chooseFolder(tr(kCaption), lastDestDir_);
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
