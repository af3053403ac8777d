#include "form_pref.h"

#include "drop_offers.h"
#include "prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormPref::TFormPref(Prompts& prompts, const QString& toolPath, bool useSpectrumFont,
                     bool checkUpdates, QWidget* parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FormPref"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    auto* label = new QLabel(QStringLiteral("3e Path:"));
    TxtFileName = new QLineEdit(toolPath);
    TxtFileName->setObjectName(QStringLiteral("TxtFileName"));
    TxtFileName->setReadOnly(true);
    label->setBuddy(TxtFileName);
    BtnBrowse = new QPushButton(QStringLiteral("..."));
    BtnBrowse->setObjectName(QStringLiteral("BtnBrowse"));
    BtnBrowse->setFixedWidth(28);
    BtnBrowse->setAutoDefault(false);

    ChkSpectrum = new QCheckBox(QStringLiteral("Use Zx Spectrum font (if installed)"));
    ChkSpectrum->setObjectName(QStringLiteral("ChkSpectrum"));
    ChkSpectrum->setChecked(useSpectrumFont);
    Chk3EUpdates = new QCheckBox(QStringLiteral("Check for 3E updates at startup"));
    Chk3EUpdates->setObjectName(QStringLiteral("Chk3EUpdates"));
    Chk3EUpdates->setChecked(checkUpdates);

    CmdReset = new QPushButton(QStringLiteral("Reset"));
    CmdReset->setObjectName(QStringLiteral("CmdReset"));
    CmdReset->setAutoDefault(false);
    CmdOK = new QPushButton(QStringLiteral("OK"));
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("Cancel"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(TxtFileName, 1);
    pathRow->addWidget(BtnBrowse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdReset);
    buttons->addStretch(1);
    buttons->addWidget(CmdOK);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(pathRow);
    layout->addSpacing(6);
    layout->addWidget(ChkSpectrum);
    layout->addWidget(Chk3EUpdates);
    m_dropRows = new QFormLayout;
    layout->addLayout(m_dropRows);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(418, 163);
    m_baseHeight = 163;

    connect(BtnBrowse, &QPushButton::clicked, this, &TFormPref::BrowseClick);
    connect(CmdReset, &QPushButton::clicked, this, &TFormPref::CmdResetClick);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFormPref::ToolPathResult() const
{
    return TxtFileName->text().remove(QLatin1Char('"'));
}

bool TFormPref::UseSpectrumFontResult() const
{
    return ChkSpectrum->isChecked();
}

bool TFormPref::CheckUpdatesResult() const
{
    return Chk3EUpdates->isChecked();
}

void TFormPref::BrowseClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("3e Path");
    request.filter = QStringLiteral("Executable Files (*.exe)|*.exe|All files (*.*)|*.*");
    request.defaultSuffix = QStringLiteral("exe");
    const QFileInfo current(TxtFileName->text().remove(QLatin1Char('"')));
    request.folder = current.absolutePath();
    request.fileName = current.fileName();
    const QStringList chosen = m_prompts.openFiles(request);
    if (!chosen.isEmpty())
        TxtFileName->setText(chosen.first());
}

void TFormPref::CmdResetClick()
{
    if (m_prompts.confirm(QStringLiteral("Are you sure you want to reset configuration?")) ==
        Prompts::Answer::Yes) {
        TxtFileName->clear();
        ChkSpectrum->setChecked(false);
        Chk3EUpdates->setChecked(true);
        for (QComboBox* box : DropBoxes)
            box->setCurrentIndex(0);
        accept();
        return;
    }
    reject();
}

namespace {

// The choices of a box in their order: index 0, 1, 2.
constexpr DropChoice kBoxChoices[] = {DropChoice::Ask, DropChoice::Take, DropChoice::Plain};

QString WithoutMnemonic(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

void TFormPref::ShowDropChoices(const DropRouter& drops)
{
    for (const DropOffer& offer : drops.offers()) {
        auto* box = new QComboBox;
        box->setObjectName(QStringLiteral("Drop") + offer.id);
        box->addItems({QStringLiteral("Ask each time"), WithoutMnemonic(offer.takeCaption),
                       WithoutMnemonic(offer.plainCaption)});
        const DropChoice current = drops.choice(offer.id);
        for (int i = 0; i < 3; ++i) {
            if (kBoxChoices[i] == current)
                box->setCurrentIndex(i);
        }
        m_dropRows->addRow(offer.kind + QLatin1Char(':'), box);
        DropBoxes << box;
    }
    // The dialog keeps its fixed size, grown by a row per offer.
    setFixedSize(width(), m_baseHeight + int(DropBoxes.size()) * 28);
}

void TFormPref::ApplyDropChoices(DropRouter& drops) const
{
    for (qsizetype i = 0; i < DropBoxes.size() && i < drops.offers().size(); ++i)
        drops.setChoice(drops.offers()[i].id,
                        kBoxChoices[qBound(0, DropBoxes[i]->currentIndex(), 2)]);
}
