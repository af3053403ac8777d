#pragma once

// A main window whose disk tool is a fake: its `get` copies the file of that
// name from a folder standing for the medium (or complains when a file
// <name>.err lies there), and it logs every call.

#include "gui_fixture.h"

#include "file_list_model.h"
#include "form_wait.h"

#include <functional>

struct FakeFile
{
    QString name;
    QString type;    // the "Type" text
    QByteArray data; // the file's data, without a header
    int start = 0;
    int vars = 0;
};

// `size` bytes of a pattern that differs with `seed`.
QByteArray Data(int size, int seed);
// A 128-byte +3DOS header as `get` leaves it in front of a file.
QByteArray Header();

class GetFilesFixture : public GuiTest
{
protected:
    void SetUp() override;

    // Opens no medium: the tree gets the medium's node with the partitions
    // SYSTEM and GAMES, GAMES is selected, and the list shows `files` as rows
    // that the fake `get` finds (each stored with a header unless Headerless).
    void showFiles(const QList<FakeFile>& files);
    // Selects exactly these rows.
    void select(const QList<int>& rows);
    // Answers the next destination folder dialog: types `folder`, clicks "Select".
    void answerDestDir(const QString& folder);
    // Runs `action` once on the busy window, when the copy first lets window
    // events through.
    void onBusyWindow(std::function<void(TFormWait&)> action);

    // The files in dest (hidden ones too), sorted.
    QStringList destFiles() const;
    // The `get` calls: "partition:file|folder|".
    QStringList getCalls() const;
    // What the fake tool holds for a file (header included).
    QByteArray stored(const QString& name) const { return contents(medium + "/" + name); }

    static QByteArray contents(const QString& path);
    static void write(const QString& path, const QByteArray& bytes);

    QString medium;
    QString dest;
    QString tool;
};
