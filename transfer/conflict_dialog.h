#pragma once

#include "name_conflicts.h"

#include <QDialog>

class Prompts;
class QCheckBox;

// The question asked when a file to put has a name that is taken in the
// partition: the question text, a note when the file there is read-only,
// one button for each answer offered and "Apply to all remaining files"
// when more files follow. Its widgets carry object names: the label
// "Question", the note "Note", the check box "ApplyToAll" and the buttons
// "Replace", "Skip", "KeepBoth" and "Cancel".
class ConflictDialog : public QDialog
{
public:
    explicit ConflictDialog(const ConflictQuestion& question, QWidget* parent = nullptr);

    // The answer clicked; Cancel when the window was closed otherwise.
    ConflictReply reply() const;

private:
    ConflictAnswer answer_ = ConflictAnswer::Cancel;
    QCheckBox* applyToAll_ = nullptr;
};

// The button caption of an answer ("Replace", "Skip", "Keep both", "Cancel").
QString ConflictAnswerCaption(ConflictAnswer answer);

// The asker of the commands that put files: each question is a
// ConflictDialog run through the window's prompts.
ConflictAsker DialogConflictAsker(Prompts& prompts, QWidget* parent);
