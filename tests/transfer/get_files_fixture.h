#pragma once

// A main window on a real image made by the disk tool, or on a fake tool
// whose `get` copies the file of that name from a folder standing for the
// medium (or complains when a file <name>.err lies there; `dir` prints
// <partition>.dir), logging every call.
#include "gui_fixture.h"

#include "file_list_model.h"
#include "form_wait.h"

#include <functional>

struct FakeFile
{
    QString name, type; // type: the "Type" text
    QByteArray data;    // without a header
    int start = 0, vars = 0;
};

QByteArray Data(int size, int seed); // a pattern that differs with seed
// The file as the medium holds it and `get` gives it back: a valid +3DOS
// header from its facts in front of its data, unless it is Headerless.
QByteArray Stored(const FakeFile& file);
QByteArray Contents(const QString& path);
void Write(const QString& path, const QByteArray& bytes);
// "NAME:length" of each file's data block as tzxlist reads the tape; its
// listing instead when it refuses the tape or a checksum fails.
QString TapeSummary(const QString& tape);

class GetFilesFixture : public GuiTest
{
protected:
    void SetUp() override;
    // With the real tool: an image whose partitions (after the system one)
    // hold these files, opened, with the first partition selected.
    void openImage(const QList<std::pair<QString, QList<FakeFile>>>& partitions);
    // With the fake tool: the tree gets the medium's node with SYSTEM and GAMES under it, GAMES is
    // selected, and the list shows `files`, which the fake `get` finds.
    void showFiles(const QList<FakeFile>& files);
    void select(const QStringList& names); // exactly these rows
    // Answers the next destination folder dialog: types folder, clicks "Select".
    void answerDestDir(const QString& folder);
    // Runs action on the busy window once the copy first lets events through.
    void onBusyWindow(std::function<void(TFormWait&)> action);
    QStringList destFiles() const; // hidden ones too, sorted
    QStringList getCalls() const;  // "partition:file|folder|"

    QString medium, dest, tool, image;
};
