#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// What to do with each file a command puts into a partition where its name
// is taken, asked file by file as desktop file managers do. No file is ever
// replaced without an answer, and a read-only file is never replaced.
//
// Names compare without regard to case, as the tool takes +3DOS names. A
// name stored earlier in the same batch counts as taken from then on, so two
// files of one name in a batch ask too.

// The answers to one question.
enum class ConflictAnswer { Replace, Skip, KeepBoth, Cancel };

// One question: the file's name is taken in the partition.
struct ConflictQuestion
{
    QString name;      // the taken name
    QString partition; // where it is taken
    // "A file named GAME.BAS already exists in GAMES."
    QString text;
    // The file there is read-only: Replace is not offered, and `note` says so.
    bool readOnly = false;
    QString note;                  // "GAME.BAS is read-only and is never replaced."
    QList<ConflictAnswer> offered; // in the order the buttons stand
    int remaining = 0;             // files of the batch after this one
};

// The answer given, and whether it holds for every later conflict of the
// batch ("Apply to all remaining files").
struct ConflictReply
{
    ConflictAnswer answer = ConflictAnswer::Cancel;
    bool applyToAll = false;
};

using ConflictAsker = std::function<ConflictReply(const ConflictQuestion&)>;

// What happens to one file of the batch.
struct PutDecision
{
    enum Kind {
        Store,    // the name is free: put it
        Replace,  // put it over the file of that name
        Skip,     // leave the file there, put nothing (a Cut keeps its source)
        KeepBoth, // put it under `targetName`, the next free name
        Cancel,   // the command stops before this file
    };
    Kind kind = Store;
    QString source;     // as given
    QString targetName; // the name it is put under (KeepBoth: the new name)
};

// One file to put: where it comes from (a host path or a partition entry,
// passed through) and the name it should have.
struct PutRequest
{
    QString source;
    QString targetName;
};

class NameConflicts
{
public:
    // `existing` are the names in `partition`; `readOnly` those of them whose
    // files are read-only.
    NameConflicts(QString partition, const QStringList& existing, const QStringList& readOnly,
                  ConflictAsker ask);

    // Decides the next file of the batch. Asks when its name is taken and no
    // earlier "apply to all" answer covers it. A standing Replace for all
    // does not reach a read-only file: it is asked about, and an answer
    // Replace for it counts as Skip. After a Cancel every later file
    // is Cancel too. `remaining` is told to the question.
    PutDecision Decide(const PutRequest& request, int remaining = 0);

    // Decide for every file of the batch, in order.
    QList<PutDecision> DecideAll(const QList<PutRequest>& batch);

    // The question text for a name taken in a partition.
    static QString QuestionText(const QString& name, const QString& partition);

private:
    bool Taken(const QString& name) const;
    void Take(const QString& name);

    QString partition_;
    QStringList taken_;          // as shown, for NextFreeName
    QSet<QString> takenKeys_;    // upper case
    QSet<QString> readOnlyKeys_; // upper case
    ConflictAsker ask_;
    bool cancelled_ = false;
    bool haveAll_ = false; // an "apply to all" answer stands
    ConflictAnswer all_ = ConflictAnswer::Skip;
};
