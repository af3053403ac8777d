#include "form_pref.h"

#include "drop_offers.h"
#include "prompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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
    setWindowTitle(tr("Preferences"));

    auto* label = new QLabel(tr("3e Path:"));
    TxtFileName = new QLineEdit(toolPath);
    TxtFileName->setObjectName(QStringLiteral("TxtFileName"));
    TxtFileName->setReadOnly(true);
    // Room for a path of some fifty characters.
    TxtFileName->setMinimumWidth(TxtFileName->fontMetrics().averageCharWidth() * 50);
    label->setBuddy(TxtFileName);
    BtnBrowse = new QPushButton(QStringLiteral("..."));
    BtnBrowse->setObjectName(QStringLiteral("BtnBrowse"));
    BtnBrowse->setAccessibleName(tr("Browse for the 3e program"));
    BtnBrowse->setToolTip(BtnBrowse->accessibleName());
    BtnBrowse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    BtnBrowse->setAutoDefault(false);

    ChkSpectrum = new QCheckBox(tr("Use Zx Spectrum font (if installed)"));
    ChkSpectrum->setObjectName(QStringLiteral("ChkSpectrum"));
    ChkSpectrum->setChecked(useSpectrumFont);
    Chk3EUpdates = new QCheckBox(tr("Check for 3E updates at startup"));
    Chk3EUpdates->setObjectName(QStringLiteral("Chk3EUpdates"));
    Chk3EUpdates->setChecked(checkUpdates);

    CmdReset = new QPushButton(tr("Reset"));
    CmdReset->setObjectName(QStringLiteral("CmdReset"));
    CmdReset->setAutoDefault(false);
    CmdOK = new QPushButton(tr("OK"));
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdCancel = new QPushButton(tr("Cancel"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(TxtFileName, 1);
    pathRow->addWidget(BtnBrowse);
    // The buttons stand in the desktop's order; each keeps its own handler.
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(CmdReset, QDialogButtonBox::ResetRole);
    buttons->addButton(CmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(CmdCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(pathRow);
    layout->addSpacing(6);
    layout->addWidget(ChkSpectrum);
    layout->addWidget(Chk3EUpdates);
    m_dropRows = new QFormLayout;
    layout->addLayout(m_dropRows);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

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
    request.title = tr("3e Path");
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
    if (m_prompts.confirm(tr("Are you sure you want to reset configuration?")) ==
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
        box->addItems({tr("Ask each time"), WithoutMnemonic(offer.takeCaption),
                       WithoutMnemonic(offer.plainCaption)});
        const DropChoice current = drops.choice(offer.id);
        for (int i = 0; i < 3; ++i) {
            if (kBoxChoices[i] == current)
                box->setCurrentIndex(i);
        }
        m_dropRows->addRow(offer.kind + QLatin1Char(':'), box);
        DropBoxes << box;
    }
    // The layout grows the dialog by a row per offer.
}

void TFormPref::ApplyDropChoices(DropRouter& drops) const
{
    for (qsizetype i = 0; i < DropBoxes.size() && i < drops.offers().size(); ++i)
        drops.setChoice(drops.offers()[i].id,
                        kBoxChoices[qBound(0, DropBoxes[i]->currentIndex(), 2)]);
}
