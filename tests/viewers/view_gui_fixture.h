#pragma once

// A main window whose tree and list show chosen nodes and rows, and whose
// disk tool is a fake: a shell script that logs its arguments and answers
// `get` from a folder of prepared local copies (and whatever else it is told).
#include "gui_fixture.h"

#include "file_list_model.h"
#include "form_view.h"
#include "temp_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalBlocker>
#include <QTreeWidget>

// A file row as the list shows it.
inline FileListRow Row(const QString& name, const QString& type, const QString& realSize, const QString& start = "0",
                       const QString& vars = "0")
{
    return FileListRow{{name, "    7", "-R-A", "1.0", "    8", type, realSize, start, vars, "", ""}, 18};
}

class ViewGuiTest : public GuiTest
{
protected:
    TFormMain& makeFakeToolForm(const QString& script = {}, bool spectrumFont = false)
    {
        QDir().mkpath(path("sources"));
        const QString tool = writeFakeTool(
            "view", QString("printf '%s|' \"$@\" >> '%1'; echo >> '%1'\n"
                            "if [ \"$2\" = get ]; then n=\"${3#*:}\"; [ -f '%2/'\"$n\" ] && cp '%2/'\"$n\" \"$4$n\"; fi\n")
                            .arg(path("tool.log"), path("sources")) + script);
        writeSettings({{"3ePos", tool}, {"Specfont", spectrumFont ? 1 : 0}, {"Check3EUpdates", 0}});
        return makeForm();
    }

    // A local copy for the fake `get`.
    void addSource(const QString& name, const QByteArray& bytes)
    {
        QFile file(QDir(path("sources")).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The fake tool's runs, one "arg|arg|...|" line each.
    QStringList toolLog() const
    {
        QFile file(path("tool.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }

    // The tree's node `node` selected (without running the tool) and the
    // list holding `rows`, the rows `selected` selected.
    void showRows(const std::vector<FileListRow>& rows, const QList<int>& selected, const QString& node = "GAMES")
    {
        const QSignalBlocker block(form->TreeView());
        auto* item = new QTreeWidgetItem(QStringList{node});
        form->TreeView()->addTopLevelItem(item);
        form->SelectNode(item);
        form->ListModel().clear();
        form->ListModel().appendRows(rows);
        for (int r : selected)
            form->ListView()->selectRow(r, true);
    }

    void selectOnly(int row)
    {
        for (int r : form->SelectedRows())
            form->ListView()->selectRow(r, false);
        form->ListView()->selectRow(row, true);
    }

    QList<TFormView*> viewWindows() const { return form->findChildren<TFormView*>(); }

    // Files left anywhere in the program's private temporary folder.
    static QStringList privateTempFiles()
    {
        QStringList files;
        QDirIterator it(PrivateTempFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        // The tool's output files are no local copies.
        while (it.hasNext()) {
            const QString file = it.next();
            if (!file.startsWith(ToolOutputFolder() + QLatin1Char('/')))
                files << file;
        }
        return files;
    }
};
