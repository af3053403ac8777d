#pragma once

#include <QList>
#include <QString>

// What became of the files of one copy run, and the texts that tell the user.
// A run that copied everything ends in "Copy completed" (or "Copy aborted"
// when the user stopped it); a run in which anything could not be copied
// says so, with the count and the first reason, and lists what failed.
class CopyReport
{
public:
    // Items listed in the error box; the rest are counted.
    static constexpr int kListedFailures = 10;

    void copied() { ++copied_; }
    // `what` names the item ("PART\FILE.BIN", or a partition), `reason` is
    // one line.
    void failed(const QString& what, const QString& reason);

    int copiedCount() const { return copied_; }
    int failedCount() const { return static_cast<int>(failures_.size()); }
    bool allCopied() const { return failures_.isEmpty(); }

    // Status panel 2 at the end of the run: "Copy completed", "Copy aborted",
    // or "Copy incomplete, " / "Copy aborted, " + "2 of 5 not copied: " + the
    // first item and its reason.
    QString statusText(bool aborted) const;
    // The error box's text when anything failed (empty otherwise): the count,
    // then one line per failed item, at most kListedFailures of them.
    QString failureText() const;

private:
    struct Failure
    {
        QString what;
        QString reason;
    };
    int copied_ = 0;
    QList<Failure> failures_;
};
