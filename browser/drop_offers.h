#pragma once

#include <QDialog>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class Prompts;
class QCheckBox;
class QLabel;
class QPushButton;

// What is done with the dropped files an offer matches: ask, take the
// offer (put them the offer's way), or put them as the files they are.
enum class DropChoice { Ask, Take, Plain };

// The choice as kept in the settings ("ask", "take", "plain") and back; an
// unknown text reads as Ask.
QString DropChoiceName(DropChoice choice);
DropChoice DropChoiceFromName(const QString& name);

// One way of putting dropped files other than as plain files, offered for
// the files it matches: BASIC text tokenised into a program, and so on. The
// window adds its offers once (TFormMain::RegisterDropOffers); an offer
// names everything its question, its Preferences entry and its put need.
struct DropOffer
{
    // Names the remembered choice: the setting "Drop<id>".
    QString id;
    // What the files are, for Preferences ("Dropped BASIC text files").
    QString kind;
    // The buttons of the question and the choices in Preferences.
    QString takeCaption;  // "As a &BASIC program"
    QString plainCaption; // "As the &file it is"
    // The question for one file (its name without the folder): "Put
    // GAME.BAS as a BASIC program (tokenised) or as the file it is?".
    std::function<QString(const QString& fileName)> question;
    // True for a host file the offer is for; it may read the file.
    std::function<bool(const QString& path)> matches;
    // Puts the files taken, in the order of the drop.
    std::function<void(const QStringList& files)> take;
};

// Sorts the files of one drop between the offers and the plain put. Each
// file goes to the first offer that matches it; the user is asked (unless a
// choice is remembered for that offer) whether to take the offer for it or
// put it as it is. One question may answer for the rest of the drop, and may
// be remembered (Preferences shows and changes what is remembered).
class DropRouter
{
public:
    explicit DropRouter(QWidget* dialogParent) : m_parent(dialogParent) {}

    void addOffer(DropOffer offer);
    const QList<DropOffer>& offers() const { return m_offers; }

    // The remembered choice of the offer `id`, Ask when none.
    DropChoice choice(const QString& id) const;
    void setChoice(const QString& id, DropChoice choice);

    // One drop. When an offer matches any file, `ready` runs first (the
    // put's own checks: tool, partition); false ends the drop. The files taken by
    // offers go to them (offer by offer, in the order they were added), then
    // the rest to `putPlain`. Cancel in a question ends the drop with
    // nothing put. A drop that no offer matches goes straight to putPlain.
    void route(Prompts& prompts, const QStringList& files, const std::function<bool()>& ready,
               const std::function<void(const QStringList&)>& putPlain);

private:
    QWidget* m_parent;
    QList<DropOffer> m_offers;
    QMap<QString, DropChoice> m_choices;
};

// The question about one dropped file: take the offer, put it as it is, or
// cancel the drop; "for the rest of the drop" and "remember" as check boxes.
// Run through Prompts::execDialog: Accepted after either put button
// (Choice() says which), Rejected after Cancel.
class TFormDropOffer : public QDialog
{
    Q_OBJECT

public:
    // `others`: how many more files of this drop the same offer matches (the
    // check box for them is shown only when there are any).
    TFormDropOffer(const DropOffer& offer, const QString& file, int others,
                   QWidget* parent = nullptr);

    DropChoice Choice() const { return m_choice; }
    bool ForAllOthers() const;
    bool Remember() const;

    QLabel* Question = nullptr;
    QCheckBox* ChkAll = nullptr;
    QCheckBox* ChkRemember = nullptr;
    QPushButton* BtnTake = nullptr;
    QPushButton* BtnPlain = nullptr;
    QPushButton* BtnCancel = nullptr;

private:
    DropChoice m_choice = DropChoice::Ask;
};
