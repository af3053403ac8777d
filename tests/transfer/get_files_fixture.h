#pragma once

// A main window on an image made by the disk tool, whose tool is the real one
// behind a thin wrapper that stages four faults: a `get` of SILENT.BIN fails
// without a word, one of SHORT.BIN leaves 40 bytes too few, `dir` of a
// partition named LOST fails and one of a partition named BAD prints a
// broken record.
#include "gui_fixture.h"

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
    void SetUp() override; // a window with the wrapped tool, no medium open
    // An image whose partitions (after the system one) hold these files,
    // opened, with the first of them selected.
    void openImage(const QList<std::pair<QString, QList<FakeFile>>>& partitions);
    void select(const QStringList& names); // exactly these rows
    // Answers the next destination folder dialog: types folder, clicks "Select".
    void answerDestDir(const QString& folder);
    // Runs action on the busy window once the copy first lets events through.
    void onBusyWindow(std::function<void(TFormWait&)> action);
    QStringList destFiles() const; // hidden ones too, sorted

    QString dest, image, tool;
};
