#include "form_basic_editor.h"

#include "basic_code_edit.h"
#include "basic_highlighter.h"
#include "basic_text_error.h"
#include "form_put_basic.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

TFormBasicEditor::CloseAnswer AskWithMessageBox(QWidget* parent, const QString& question)
{
    const auto button = QMessageBox::question(parent, QCoreApplication::translate("TFormBasicEditor", "Edit BASIC program"), question,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    if (button == QMessageBox::Save)
        return TFormBasicEditor::CloseAnswer::Save;
    if (button == QMessageBox::Discard)
        return TFormBasicEditor::CloseAnswer::Discard;
    return TFormBasicEditor::CloseAnswer::Cancel;
}

std::optional<QString> AskWithInputDialog(QWidget* parent, const QString& currentName)
{
    bool ok = false;
    const QString name = QInputDialog::getText(parent, QCoreApplication::translate("TFormBasicEditor", "Save as"), QCoreApplication::translate("TFormBasicEditor", "+3DOS name:"),
                                               QLineEdit::Normal, currentName, &ok);
    if (!ok)
        return std::nullopt;
    return name;
}

} // namespace

TFormBasicEditor::TFormBasicEditor(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_editor(new BasicCodeEdit(this)),
      m_highlighter(new BasicHighlighter(m_editor->document(), m_editor->palette())),
      m_status(new QLabel(this)),
      m_saveAction(new QAction(tr("&Save"), this)),
      m_saveAsAction(new QAction(tr("Save &as..."), this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_editor->setAccessibleName(tr("BASIC program"));
    m_saveAction->setShortcut(QKeySequence::Save);
    m_saveAction->setShortcutContext(Qt::WindowShortcut);
    m_saveAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_saveAsAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_saveAction);
    addAction(m_saveAsAction);
    connect(m_saveAction, &QAction::triggered, this, [this] { Save(); });
    connect(m_saveAsAction, &QAction::triggered, this, [this] { SaveAs(); });

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(m_saveAction);
    tools->addAction(m_saveAsAction);

    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tools);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_status);

    m_closeQuestion = [this](const QString& question) { return AskWithMessageBox(this, question); };
    m_nameQuestion = [this](const QString& name) { return AskWithInputDialog(this, name); };
    connect(m_editor, &BasicCodeEdit::PaletteChanged, this,
            [this] { m_highlighter->SetPalette(m_editor->palette()); });
    connect(m_editor->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    resize(720, 520);
    UpdateCaption();
}

void TFormBasicEditor::SetProgram(const QString& partition, const QString& fileName, const QString& text)
{
    m_partition = partition;
    m_fileName = fileName;
    m_editor->setPlainText(text);
    m_editor->document()->setModified(false);
    m_editor->moveCursor(QTextCursor::Start);
    m_status->clear();
    UpdateCaption();
}

QString TFormBasicEditor::Text() const
{
    return m_editor->toPlainText();
}

bool TFormBasicEditor::IsModified() const
{
    return m_editor->document()->isModified();
}

QString TFormBasicEditor::StatusText() const
{
    return m_status->text();
}

bool TFormBasicEditor::Save()
{
    return StoreAs(m_fileName);
}

bool TFormBasicEditor::SaveAs()
{
    if (m_storing)
        return false;
    const std::optional<QString> answer = m_nameQuestion ? m_nameQuestion(m_fileName) : std::nullopt;
    if (!answer)
        return false;
    const QString name = answer->trimmed().toUpper();
    if (!IsPlus3FileName(name)) {
        m_status->setText(tr("\"%1\" is no +3DOS name: 1-8 characters, a dot and 0-3 characters.")
                              .arg(*answer));
        return false;
    }
    if (!StoreAs(name))
        return false;
    m_fileName = name;
    UpdateCaption();
    return true;
}

bool TFormBasicEditor::StoreAs(const QString& name)
{
    if (!m_store) {
        m_status->setText(tr("The program cannot be stored from this window."));
        return false;
    }
    if (m_storing)
        return false;
    m_storing = true;
    const QString error = m_store(Text(), name);
    m_storing = false;
    if (!error.trimmed().isEmpty()) {
        ShowFault(error);
        return false;
    }
    m_editor->ClearMark();
    m_editor->document()->setModified(false);
    m_status->setText(tr("Saved as %1:%2.").arg(m_partition, name));
    emit Stored(name);
    return true;
}

void TFormBasicEditor::ShowFault(const QString& error)
{
    if (const std::optional<BasicTextError> fault = ParseBasicTextError(error)) {
        m_editor->MarkLine(fault->line, fault->column);
        m_status->setText(tr("Line %1, column %2: %3").arg(fault->line).arg(fault->column).arg(fault->message));
    } else {
        m_editor->ClearMark();
        m_status->setText(error.trimmed());
    }
    m_editor->setFocus();
}

void TFormBasicEditor::UpdateCaption()
{
    QString target = m_fileName;
    if (!m_partition.isEmpty())
        target = m_partition + QLatin1Char(':') + m_fileName;
    // "[*]" shows "*" while the document is modified.
    setWindowTitle(tr("Edit BASIC program - %1[*]").arg(target));
    setWindowModified(IsModified());
}

void TFormBasicEditor::closeEvent(QCloseEvent* event)
{
    if (m_storing) {
        event->ignore();
        return;
    }
    if (!IsModified()) {
        event->accept();
        return;
    }
    const CloseAnswer answer = m_closeQuestion
                                   ? m_closeQuestion(tr("Save the changes to %1:%2?").arg(m_partition, m_fileName))
                                   : CloseAnswer::Cancel;
    if (answer == CloseAnswer::Discard || (answer == CloseAnswer::Save && Save()))
        event->accept();
    else
        event->ignore();
}
