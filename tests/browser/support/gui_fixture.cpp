#include "gui_fixture.h"

#include "file_list_model.h"
#include "test_paths.h"
#include "update_address.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTreeWidget>

void GuiTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    QDir().mkpath(settingsFolder());
    QDir().mkpath(startFolder());
    ASSERT_TRUE(QFile::link(QString::fromUtf8(testpaths::kToolExe), realToolPath()));
    // A window shown with the update check on downloads from here: a port on
    // this machine that nothing serves, so no test ever reaches the network.
    // Tests of the update command point it at a server of their own.
    qputenv(update::kUpdateUrlVariable, "http://127.0.0.1:1/images/stories/3e_harnwick/3e.zip");
}

void GuiTest::TearDown()
{
    if (form) {
        form->hide();
        form.reset();
    }
    m_dir.reset();
}

QString GuiTest::path(const QString& name) const
{
    return QDir(m_dir->path()).filePath(name);
}

QString GuiTest::settingsFile() const
{
    return QDir(settingsFolder()).filePath(QStringLiteral("3E Harnwick.ini"));
}

void GuiTest::writeSettings(const QMap<QString, QVariant>& values)
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        store.setValue(it.key(), it.value());
    store.sync();
}

QVariant GuiTest::storedSetting(const QString& name) const
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    return store.value(name);
}

TFormMain& GuiTest::makeForm()
{
    if (form)
        form.reset();
    TFormMainOptions options;
    options.settingsFolder = settingsFolder();
    options.startFolder = startFolder();
    options.medium = commandLineMedium;
    form = std::make_unique<TFormMain>(options);
    auto scripted = std::make_unique<ScriptedPrompts>();
    prompts = scripted.get();
    form->SetPrompts(std::move(scripted));
    return *form;
}

void GuiTest::closeForm()
{
    ASSERT_TRUE(form);
    form->close();
    form.reset();
    prompts = nullptr;
}

QString GuiTest::writeFakeTool(const QString& name, const QString& body)
{
    const QString folder = path(QStringLiteral("fake-") + name);
    QDir().mkpath(folder);
    const QString tool = QDir(folder).filePath(QStringLiteral("3E.EXE"));
    QFile file(tool);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n");
    file.write(body.toUtf8());
    file.write("\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return tool;
}

void GuiTest::runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QString::fromUtf8(testpaths::kToolExe), arguments);
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << arguments.join(' ').toStdString() << ": "
                                  << tool.readAllStandardError().toStdString();
}

QString GuiTest::makeImage(const QString& name, const QStringList& partitions)
{
    const QString image = path(name);
    runTool({image, QStringLiteral("create"), QStringLiteral("--size"), QStringLiteral("16M")});
    for (const QString& partition : partitions)
        runTool({image, QStringLiteral("newpart"), partition, QStringLiteral("1M")});
    return image;
}

QStringList GuiTest::treeTexts() const
{
    QStringList texts;
    for (QTreeWidgetItem* node : form->TreeNodes())
        texts << node->text(0);
    return texts;
}

QTreeWidgetItem* GuiTest::treeNode(const QString& text) const
{
    for (QTreeWidgetItem* node : form->TreeNodes()) {
        if (node->text(0) == text)
            return node;
    }
    return nullptr;
}

QStringList GuiTest::columnTexts(int column) const
{
    QStringList texts;
    const FileListModel& model = form->ListModel();
    for (int r = 0; r < model.count(); ++r)
        texts << model.cell(r, column);
    return texts;
}

QStringList GuiTest::columnCaptions() const
{
    QStringList captions;
    for (int c = 0; c < FileListModel::kColumns; ++c)
        captions << form->ListModel().columnCaption(c);
    return captions;
}
