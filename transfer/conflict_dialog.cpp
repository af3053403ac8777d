#include "conflict_dialog.h"

#include "prompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString ConflictAnswerCaption(ConflictAnswer answer)
{
    switch (answer) {
    case ConflictAnswer::Replace:
        return QStringLiteral("Replace");
    case ConflictAnswer::Skip:
        return QStringLiteral("Skip");
    case ConflictAnswer::KeepBoth:
        return QStringLiteral("Keep both");
    case ConflictAnswer::Cancel:
        break;
    }
    return QStringLiteral("Cancel");
}

namespace {

QString ButtonName(ConflictAnswer answer)
{
    return answer == ConflictAnswer::KeepBoth ? QStringLiteral("KeepBoth")
                                              : ConflictAnswerCaption(answer);
}

// Where a button stands in the box: Replace accepts, Cancel rejects (so
// Escape and the window's close button mean Cancel), the others act.
QDialogButtonBox::ButtonRole RoleOf(ConflictAnswer answer)
{
    switch (answer) {
    case ConflictAnswer::Replace:
        return QDialogButtonBox::AcceptRole;
    case ConflictAnswer::Cancel:
        return QDialogButtonBox::RejectRole;
    case ConflictAnswer::Skip:
    case ConflictAnswer::KeepBoth:
        break;
    }
    return QDialogButtonBox::ActionRole;
}

} // namespace

ConflictDialog::ConflictDialog(const ConflictQuestion& question, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("File already exists"));
    auto* layout = new QVBoxLayout(this);
    // As large as its texts need, and no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* text = new QLabel(question.text);
    text->setObjectName(QStringLiteral("Question"));
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text);
    if (!question.note.isEmpty()) {
        auto* note = new QLabel(question.note);
        note->setObjectName(QStringLiteral("Note"));
        note->setTextFormat(Qt::PlainText);
        layout->addWidget(note);
    }
    applyToAll_ = new QCheckBox(QStringLiteral("Apply to all remaining files"));
    applyToAll_->setObjectName(QStringLiteral("ApplyToAll"));
    applyToAll_->setVisible(question.remaining > 0);
    layout->addWidget(applyToAll_);
    auto* buttons = new QDialogButtonBox;
    for (ConflictAnswer answer : question.offered) {
        QPushButton* button = buttons->addButton(ConflictAnswerCaption(answer), RoleOf(answer));
        button->setObjectName(ButtonName(answer));
        // Enter never replaces a file: it skips.
        button->setAutoDefault(false);
        button->setDefault(answer == ConflictAnswer::Skip);
        connect(button, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            if (answer == ConflictAnswer::Cancel)
                reject();
            else
                accept();
        });
    }
    layout->addWidget(buttons);
}

ConflictReply ConflictDialog::reply() const
{
    const ConflictAnswer answer = result() == QDialog::Accepted ? answer_ : ConflictAnswer::Cancel;
    return ConflictReply{answer, answer != ConflictAnswer::Cancel && applyToAll_->isChecked()};
}

ConflictAsker DialogConflictAsker(Prompts& prompts, QWidget* parent)
{
    return [&prompts, parent](const ConflictQuestion& question) {
        ConflictDialog dialog(question, parent);
        prompts.execDialog(dialog);
        return dialog.reply();
    };
}
