#include "form_about.h"

#include "pictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(tr("About..."));

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);

    ImgLogo = new QLabel;
    ImgLogo->setObjectName(QStringLiteral("ImgLogo"));
    ImgLogo->setFixedSize(112, 48);
    ImgLogo->setAccessibleName(tr("3e Harnwick logo"));
    ImgLogo->setPixmap(pictures::AboutLogo());
    ImgLogo->setScaledContents(true);

    LblTitle = new QLabel(tr("3e Harnwick\r\na Zx Spectrum +3e File Browser"));
    LblTitle->setObjectName(QStringLiteral("LblTitle"));
    QFont titleFont(QStringLiteral("Times New Roman"), 13, QFont::Bold, true);
    titleFont.setStyleHint(QFont::Serif);
    LblTitle->setFont(titleFont);
    // The palette's link colour: dark blue on a light theme, a light blue
    // that stays readable on a dark one.
    QPalette titlePalette = LblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, titlePalette.color(QPalette::Link));
    LblTitle->setPalette(titlePalette);

    LblAuthor = new QLabel(tr("Written by the 3e Harnwick developers"));
    LblAuthor->setObjectName(QStringLiteral("LblAuthor"));
    LblVersion = new QLabel(tr("version 1.064"));
    LblVersion->setObjectName(QStringLiteral("LblVersion"));
    LblDate = new QLabel(tr("Last Update: January 16th, 2010"));
    LblDate->setObjectName(QStringLiteral("LblDate"));
    LblCredit = new QLabel(tr(
        "The disk tool 3E.EXE is written and maintained by the 3e Harnwick developers"));
    LblCredit->setObjectName(QStringLiteral("LblCredit"));
    LblCredit->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(ImgLogo, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addWidget(LblTitle, 1);
    auto* inner = new QVBoxLayout(panel);
    inner->addLayout(top);
    inner->addSpacing(8);
    inner->addWidget(LblAuthor);
    inner->addWidget(LblVersion);
    inner->addWidget(LblDate);
    inner->addStretch(1);
    inner->addWidget(LblCredit);

    CmdOK = new QPushButton(tr("OK"));
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(CmdOK, 0, Qt::AlignHCenter);
    panel->setMinimumWidth(490);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
