#pragma once

#include "formmain.h"
#include "qt_printers.h"
#include "scripted_prompts.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

class QTreeWidgetItem;

// A fixture for tests of the main window: a private work folder holding the
// settings file, a folder with the disk tool, and the scripted prompts
// installed in the window. (Its 3E.OUT and 3E.ERR land in the test process's
// private folder, so tests can run side by side.)
class GuiTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside the work folder.
    QString path(const QString& name) const;
    QString settingsFolder() const { return path(QStringLiteral("settings")); }
    QString settingsFile() const;
    // The start folder of the windows made here; the default tool path is
    // this folder + "/3E.EXE", which holds a link to the real tool.
    QString startFolder() const { return path(QStringLiteral("start")); }
    QString realToolPath() const { return startFolder() + QStringLiteral("/3E.EXE"); }

    // Writes values into the settings file before a window reads it.
    void writeSettings(const QMap<QString, QVariant>& values);
    // Reads one value of the settings file as it is stored.
    QVariant storedSetting(const QString& name) const;

    // A new main window (not shown) with scripted prompts. `form` and
    // `prompts` name the newest one.
    TFormMain& makeForm();
    // The medium the windows made here are given as on the command line.
    QString commandLineMedium;
    // Closes the window (the shut-down writes the settings) and drops it.
    void closeForm();

    // A fake disk tool: a shell script with `body`, in a folder of its own.
    // Returns its path.
    QString writeFakeTool(const QString& name, const QString& body);

    // Runs the real tool with `arguments`; fails the test when it does not
    // end with exit code 0.
    void runTool(const QStringList& arguments);
    // A new image with +3DOS partitions of 1 MiB named `partitions` (after
    // the system partition the tool creates).
    QString makeImage(const QString& name, const QStringList& partitions);

    // What the window shows.
    QStringList treeTexts() const;
    QTreeWidgetItem* treeNode(const QString& text) const;
    QStringList columnTexts(int column) const;
    QStringList columnCaptions() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFormMain> form;
    ScriptedPrompts* prompts = nullptr;
};
