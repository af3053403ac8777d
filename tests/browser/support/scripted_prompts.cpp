#include "scripted_prompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>

#include <gtest/gtest.h>

template <class T> std::optional<T> ScriptedPrompts::take(const char* question)
{
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question;
        return std::nullopt;
    }
    if (!std::holds_alternative<T>(m_answers.front())) {
        ADD_FAILURE() << "the next scripted answer is not for a question of this kind: "
                      << question;
        return std::nullopt;
    }
    T value = std::get<T>(std::move(m_answers.front()));
    m_answers.pop_front();
    return value;
}

ScriptedPrompts& ScriptedPrompts::answerConfirm(Answer answer)
{
    m_answers.emplace_back(answer);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerOpenFiles(const QStringList& files)
{
    m_answers.emplace_back(FilesAnswer{files});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerSaveFile(const QString& path)
{
    m_answers.emplace_back(PathAnswer{path});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerFolder(const QString& folder)
{
    m_answers.emplace_back(FolderAnswer{folder});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerInput(const QString& text)
{
    m_answers.emplace_back(InputAnswer{text});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::cancelInput()
{
    m_answers.emplace_back(InputAnswer{std::nullopt});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerDialog(DialogScript script)
{
    m_answers.emplace_back(std::move(script));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::clickInDialog(const QString& buttonName)
{
    return answerDialog([buttonName](QDialog& dialog) {
        auto* button = dialog.findChild<QAbstractButton*>(buttonName);
        if (!button) {
            ADD_FAILURE() << "no button " << buttonName.toStdString() << " in dialog "
                          << dialog.windowTitle().toStdString();
            return static_cast<int>(QDialog::Rejected);
        }
        button->click();
        return dialog.result();
    });
}

ScriptedPrompts& ScriptedPrompts::pickDevice(const QString& device)
{
    return answerDialog([device](QDialog& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        auto* select = dialog.findChild<QAbstractButton*>(QStringLiteral("CmdSelect"));
        if (!combo || !select) {
            ADD_FAILURE() << "the dialog is not the device picker";
            return static_cast<int>(QDialog::Rejected);
        }
        const int index = combo->findData(device);
        EXPECT_GE(index, 0) << "device not offered: " << device.toStdString();
        combo->setCurrentIndex(index);
        select->click();
        return dialog.result();
    });
}

QStringList ScriptedPrompts::errors() const
{
    QStringList texts;
    for (const Record& r : m_records) {
        if (r.kind == Kind::Error)
            texts << r.text;
    }
    return texts;
}

QStringList ScriptedPrompts::informations() const
{
    QStringList texts;
    for (const Record& r : m_records) {
        if (r.kind == Kind::Information)
            texts << r.text;
    }
    return texts;
}

void ScriptedPrompts::clearRecords()
{
    m_records.clear();
    m_fileRequests.clear();
    m_inputRequests.clear();
}

void ScriptedPrompts::error(const QString& text)
{
    m_records << Record{Kind::Error, QStringLiteral("Error"), text};
}

void ScriptedPrompts::information(const QString& text)
{
    m_records << Record{Kind::Information, QStringLiteral("Information"), text};
}

void ScriptedPrompts::message(const QString& text)
{
    m_records << Record{Kind::Message, QString(), text};
}

Prompts::Answer ScriptedPrompts::confirm(const QString& text)
{
    m_records << Record{Kind::Confirm, QStringLiteral("Confirm"), text};
    return take<Answer>("confirm").value_or(Answer::Cancel);
}

QStringList ScriptedPrompts::openFiles(const FileDialogRequest& request)
{
    m_records << Record{Kind::OpenFiles, request.title, request.filter};
    m_fileRequests << request;
    const auto answer = take<FilesAnswer>("open files");
    return answer ? answer->files : QStringList();
}

QString ScriptedPrompts::saveFile(const FileDialogRequest& request)
{
    m_records << Record{Kind::SaveFile, request.title, request.filter};
    m_fileRequests << request;
    const auto answer = take<PathAnswer>("save file");
    return answer ? answer->path : QString();
}

QString ScriptedPrompts::chooseFolder(const QString& title, const QString& startFolder)
{
    m_records << Record{Kind::ChooseFolder, title, startFolder};
    const auto answer = take<FolderAnswer>("choose folder");
    return answer ? answer->folder : QString();
}

std::optional<QString> ScriptedPrompts::inputText(const InputRequest& request)
{
    m_records << Record{Kind::Input, request.caption, request.prompt};
    m_inputRequests << request;
    const auto answer = take<InputAnswer>("input");
    return answer ? answer->text : std::nullopt;
}

int ScriptedPrompts::execDialog(QDialog& dialog)
{
    m_records << Record{Kind::Dialog, dialog.windowTitle(), QString()};
    const auto script = take<DialogScript>("dialog");
    if (!script)
        return QDialog::Rejected;
    // The dialog is set up as exec() would show it, without blocking.
    dialog.setModal(true);
    dialog.show();
    const int result = (*script)(dialog);
    dialog.hide();
    return result;
}
