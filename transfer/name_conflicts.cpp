#include "name_conflicts.h"

#include "short_name.h"

#include <QCoreApplication>

#include <utility>

NameConflicts::NameConflicts(QString partition, const QStringList& existing,
                             const QStringList& readOnly, ConflictAsker ask)
    : partition_(std::move(partition)), ask_(std::move(ask))
{
    for (const QString& name : existing)
        Take(name);
    for (const QString& name : readOnly)
        readOnlyKeys_.insert(name.toUpper());
}

QString NameConflicts::QuestionText(const QString& name, const QString& partition)
{
    return QCoreApplication::translate("NameConflicts", "A file named %1 already exists in %2.")
        .arg(name, partition);
}

bool NameConflicts::Taken(const QString& name) const
{
    return takenKeys_.contains(name.toUpper());
}

void NameConflicts::Take(const QString& name)
{
    if (!Taken(name))
        taken_ << name;
    takenKeys_.insert(name.toUpper());
}

PutDecision NameConflicts::Decide(const PutRequest& request, int remaining)
{
    PutDecision decision{PutDecision::Store, request.source, request.targetName};
    if (cancelled_) {
        decision.kind = PutDecision::Cancel;
        return decision;
    }
    if (!Taken(request.targetName)) {
        Take(request.targetName);
        return decision;
    }

    const bool readOnly = readOnlyKeys_.contains(request.targetName.toUpper());
    ConflictAnswer answer = all_;
    if (!haveAll_ || (readOnly && all_ == ConflictAnswer::Replace)) {
        ConflictQuestion question;
        question.name = request.targetName;
        question.partition = partition_;
        question.text = QuestionText(request.targetName, partition_);
        question.readOnly = readOnly;
        if (readOnly) {
            question.note = request.targetName +
                            QCoreApplication::translate("NameConflicts",
                                                        " is read-only and is never replaced.");
            question.offered = {ConflictAnswer::Skip, ConflictAnswer::KeepBoth,
                                ConflictAnswer::Cancel};
        } else {
            question.offered = {ConflictAnswer::Replace, ConflictAnswer::Skip,
                                ConflictAnswer::KeepBoth, ConflictAnswer::Cancel};
        }
        question.remaining = remaining;
        const ConflictReply reply = ask_ ? ask_(question) : ConflictReply{};
        answer = reply.answer;
        if (reply.applyToAll) {
            haveAll_ = true;
            all_ = answer;
        }
    }
    if (readOnly && answer == ConflictAnswer::Replace)
        answer = ConflictAnswer::Skip;

    switch (answer) {
    case ConflictAnswer::Replace:
        decision.kind = PutDecision::Replace;
        break;
    case ConflictAnswer::Skip:
        decision.kind = PutDecision::Skip;
        break;
    case ConflictAnswer::KeepBoth:
        decision.kind = PutDecision::KeepBoth;
        decision.targetName = NextFreeName(request.targetName, taken_);
        Take(decision.targetName);
        break;
    case ConflictAnswer::Cancel:
        decision.kind = PutDecision::Cancel;
        cancelled_ = true;
        break;
    }
    return decision;
}

QList<PutDecision> NameConflicts::DecideAll(const QList<PutRequest>& batch)
{
    QList<PutDecision> decisions;
    for (qsizetype i = 0; i < batch.size(); ++i)
        decisions << Decide(batch[i], static_cast<int>(batch.size() - i - 1));
    return decisions;
}
