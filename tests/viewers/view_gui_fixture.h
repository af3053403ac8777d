#pragma once

// A main window whose list shows chosen rows, with a fake disk tool that
// answers `get` from a folder of prepared local copies and logs its
// arguments.
#include "gui_fixture.h"

#include "file_list_model.h"
#include "form_view.h"
#include "temp_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalBlocker>
#include <QTreeWidget>

class ViewGuiTest : public GuiTest
{
protected:
    // The fake tool copies sources/<name> to the destination folder.
    QString fakeTool()
    {
        QDir().mkpath(path("sources"));
        return writeFakeTool("view", QStringLiteral("printf '%s|' \"$@\" >> '%1'; echo >> '%1'\n"
                                                    "if [ \"$2\" = get ]; then name=\"${3#*:}\";"
                                                    " [ -f '%2'/\"$name\" ] && cp '%2'/\"$name\" \"$4$name\"; fi")
                                         .arg(path("tool.log"), path("sources")));
    }

    // A window whose tool is the fake one, with Spectrum font as asked.
    TFormMain& makeViewForm(bool spectrumFont = false)
    {
        writeSettings({{"3ePos", fakeTool()}, {"Specfont", spectrumFont ? 1 : 0}, {"Check3EUpdates", 0}});
        return makeForm();
    }

    // A local copy the fake tool hands out: the +3DOS header (unless
    // headerless) and the data.
    void addSource(const QString& name, const QByteArray& data, bool header = true)
    {
        QFile file(QDir(path("sources")).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((header ? QByteArray(128, 'H') : QByteArray()) + data);
    }

    QStringList toolLog() const
    {
        QFile file(path("tool.log"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // A file row as the list shows it.
    static FileListRow Row(const QString& name, const QString& type, const QString& realSize,
                           const QString& start = "0", const QString& vars = "0")
    {
        FileListRow row;
        row.cells = {name, "1", "----", "1.0", "1", type, realSize, start, vars, "", ""};
        return row;
    }

    // The tree's node `partition` selected (without running the tool) and
    // the list holding `rows`, the rows `selected` selected.
    void showRows(const QString& partition, const std::vector<FileListRow>& rows, const QList<int>& selected)
    {
        const QSignalBlocker block(form->TreeView());
        auto* node = new QTreeWidgetItem(QStringList{partition});
        form->TreeView()->addTopLevelItem(node);
        form->SelectNode(node);
        form->ListModel().clear();
        form->ListModel().appendRows(rows);
        for (int r : selected)
            form->ListView()->selectRow(r, true);
    }

    QList<TFormView*> viewWindows() const { return form->findChildren<TFormView*>(); }

    // Files left anywhere in the program's private temporary folder.
    static QStringList privateTempFiles()
    {
        QStringList files;
        QDirIterator it(PrivateTempFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }
};
