#include "prompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

#include <algorithm>

namespace {

// File dialogs open in the detail view, large enough for the name, size,
// type and date columns in the dialog's font, within the screen.
void SizeFileDialog(QFileDialog& dialog, QWidget* parent)
{
    dialog.setViewMode(QFileDialog::Detail);
    const QFontMetrics metrics = dialog.fontMetrics();
    QSize wanted = QSize(metrics.averageCharWidth() * 110, metrics.height() * 30)
                       .expandedTo(dialog.sizeHint());
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(wanted);
    // Qt's own dialog (no desktop dialog in use): the columns follow their
    // texts, the name takes the rest.
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = files->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

// Message texts use CR LF line ends; a message box wants plain line feeds.
QString ForDisplay(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, ForDisplay(text), QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

QString QtFileFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const int open = description.indexOf(QLatin1Char('('));
        if (open >= 0)
            description.truncate(open);
        description = description.trimmed();
        // Qt reads the patterns from the parentheses. "*.*" means every file,
        // and host file names differ in case from the patterns ("3E.EXE"), so
        // the upper-case form of each pattern is offered as well.
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p =
                pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed();
            patterns << p;
            if (p.toUpper() != p)
                patterns << p.toUpper();
        }
        out << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out.join(QLatin1String(";;"));
}

void QtPrompts::error(const QString& text)
{
    ShowBox(m_parent, QMessageBox::Critical, QStringLiteral("Error"), text);
}

void QtPrompts::information(const QString& text)
{
    ShowBox(m_parent, QMessageBox::Information, QStringLiteral("Information"), text);
}

void QtPrompts::message(const QString& text)
{
    ShowBox(m_parent, QMessageBox::NoIcon, QApplication::applicationName(), text);
}

Prompts::Answer QtPrompts::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), ForDisplay(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QStringList QtPrompts::openFiles(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.folder, QtFileFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    SizeFileDialog(dialog, m_parent);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*')))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtPrompts::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.folder, QtFileFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SizeFileDialog(dialog, m_parent);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*')))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtPrompts::chooseFolder(const QString& title, const QString& startFolder)
{
    QFileDialog dialog(m_parent, title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    SizeFileDialog(dialog, m_parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompts::inputText(const InputRequest& request)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(request.caption);
    dialog.setLabelText(request.prompt);
    dialog.setTextValue(request.initial);
    dialog.setInputMode(QInputDialog::TextInput);
    if (request.maxLength > 0) {
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(request.maxLength);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

int QtPrompts::execDialog(QDialog& dialog)
{
    return dialog.exec();
}
