#include "drop_offers.h"

#include "prompts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

QString DropChoiceName(DropChoice choice)
{
    switch (choice) {
    case DropChoice::Take:
        return QStringLiteral("take");
    case DropChoice::Plain:
        return QStringLiteral("plain");
    case DropChoice::Ask:
        break;
    }
    return QStringLiteral("ask");
}

DropChoice DropChoiceFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("take"))
        return DropChoice::Take;
    if (n == QLatin1String("plain"))
        return DropChoice::Plain;
    return DropChoice::Ask;
}

void DropRouter::addOffer(DropOffer offer)
{
    m_offers << std::move(offer);
}

DropChoice DropRouter::choice(const QString& id) const
{
    return m_choices.value(id.toLower(), DropChoice::Ask);
}

void DropRouter::setChoice(const QString& id, DropChoice choice)
{
    if (choice == DropChoice::Ask)
        m_choices.remove(id.toLower());
    else
        m_choices.insert(id.toLower(), choice);
}

void DropRouter::route(Prompts& prompts, const QStringList& files,
                       const std::function<bool()>& ready,
                       const std::function<void(const QStringList&)>& putPlain)
{
    // The offer each file goes to, -1 for none.
    QList<int> offerOf;
    bool anyOffer = false;
    for (const QString& file : files) {
        int found = -1;
        for (int o = 0; o < m_offers.size() && found < 0; ++o) {
            if (m_offers[o].matches && m_offers[o].matches(file))
                found = o;
        }
        offerOf << found;
        anyOffer = anyOffer || found >= 0;
    }
    if (!anyOffer) {
        putPlain(files);
        return;
    }
    // Once for the drop, before any question, so that a put that cannot
    // start is told once and not by each module.
    if (ready && !ready())
        return;

    QList<QStringList> taken(m_offers.size());
    QStringList plain;
    QMap<int, DropChoice> forThisDrop;
    for (int i = 0; i < files.size(); ++i) {
        const int o = offerOf[i];
        if (o < 0) {
            plain << files[i];
            continue;
        }
        const DropOffer& offer = m_offers[o];
        DropChoice c = choice(offer.id);
        if (c == DropChoice::Ask)
            c = forThisDrop.value(o, DropChoice::Ask);
        if (c == DropChoice::Ask) {
            const int others = int(std::count(offerOf.begin() + i + 1, offerOf.end(), o));
            TFormDropOffer question(offer, QFileInfo(files[i]).fileName(), others, m_parent);
            if (prompts.execDialog(question) != QDialog::Accepted ||
                question.Choice() == DropChoice::Ask)
                return;
            c = question.Choice();
            if (question.Remember())
                setChoice(offer.id, c);
            else if (question.ForAllOthers())
                forThisDrop.insert(o, c);
        }
        (c == DropChoice::Take ? taken[o] : plain) << files[i];
    }
    for (int o = 0; o < m_offers.size(); ++o) {
        if (!taken[o].isEmpty())
            m_offers[o].take(taken[o]);
    }
    if (!plain.isEmpty())
        putPlain(plain);
}

TFormDropOffer::TFormDropOffer(const DropOffer& offer, const QString& file, int others,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDropOffer"));
    setWindowTitle(QStringLiteral("Dropped files"));

    Question = new QLabel(offer.question ? offer.question(file) : file);
    Question->setObjectName(QStringLiteral("Question"));
    Question->setWordWrap(true);
    ChkAll = new QCheckBox(
        others == 1
            ? QStringLiteral("Do the same with the other such file of this drop")
            : QStringLiteral("Do the same with the %1 other such files of this drop").arg(others));
    ChkAll->setObjectName(QStringLiteral("ChkAll"));
    // One question per drop unless the user wants to decide file by file.
    ChkAll->setChecked(true);
    ChkRemember = new QCheckBox(
        QStringLiteral("Always do this without asking (Tools > Preferences changes it)"));
    ChkRemember->setObjectName(QStringLiteral("ChkRemember"));

    BtnTake = new QPushButton(offer.takeCaption);
    BtnTake->setObjectName(QStringLiteral("BtnTake"));
    BtnTake->setDefault(true);
    BtnPlain = new QPushButton(offer.plainCaption);
    BtnPlain->setObjectName(QStringLiteral("BtnPlain"));
    BtnPlain->setAutoDefault(false);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnTake);
    buttons->addWidget(BtnPlain);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Question);
    layout->addSpacing(6);
    layout->addWidget(ChkAll);
    layout->addWidget(ChkRemember);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (others == 0)
        ChkAll->hide();

    connect(BtnTake, &QPushButton::clicked, this, [this] {
        m_choice = DropChoice::Take;
        accept();
    });
    connect(BtnPlain, &QPushButton::clicked, this, [this] {
        m_choice = DropChoice::Plain;
        accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormDropOffer::ForAllOthers() const
{
    return !ChkAll->isHidden() && ChkAll->isChecked();
}

bool TFormDropOffer::Remember() const
{
    return ChkRemember->isChecked();
}
