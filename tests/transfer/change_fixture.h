#pragma once

#include "gui_fixture.h"

#include <QByteArray>
#include <QStringList>

// A main window on a new medium, for the commands that change partitions.
// The window's disk tool is a wrapper around the real tool that logs every
// run that is neither `dir` nor `showptable` (as "verb|arg|arg|", the medium
// left out) and refuses, with error text and no run, every run whose log
// line matches the shell pattern set by failRuns() (or silently does
// nothing, as if it had worked).
class ChangeTest : public GuiTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes an image with these +3DOS partitions, puts `files` (name, then
    // content, alternately; "NAME" goes into the first partition, "P:NAME"
    // into P), opens it in a new window and selects `select` (a partition
    // name) when given.
    void openMedium(const QStringList& partitions, const QList<QByteArray>& files = {},
                    const QString& select = {});
    void selectPartition(const QString& name);
    void selectRows(const QList<int>& rows);
    // A host file in the tests' folder.
    QString hostFile(const QString& name, const QByteArray& content);
    // The names the tool lists in a partition (sorted), and the bytes `get`
    // gives.
    QStringList filesIn(const QString& partition);
    QByteArray contentOf(const QString& partition, const QString& file);

    // Answers the next question about a taken name (the conflict dialog) by
    // clicking `button` ("Replace", "Skip", "KeepBoth", "Cancel"), after
    // ticking "Apply to all remaining files" when `applyToAll`. The question
    // (and its note, after a blank) is added to conflictQuestions.
    void answerConflict(const QString& button, bool applyToAll = false);
    QStringList conflictQuestions;

    QStringList runs() const;
    void clearRuns();
    void failRuns(const QString& pattern, bool silently = false);
    // Runs matching `slow` take 0.4 s longer; runs matching `hang` sleep
    // 30 s instead of running (until they are killed).
    void delayRuns(const QString& slow, const QString& hang);

    // From recordShown() on: what the QLabels named `name` showed each time
    // they were painted, or the values the QProgressBars named `name` were
    // set to, in order, repetitions left out.
    QStringList shownTexts(const QString& name) const;
    void recordShown();

    QString image;
    QString toolLog;

private:
    QString capture(const QStringList& arguments);
    std::unique_ptr<QObject> m_recorder;
};
