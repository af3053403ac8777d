#pragma once

#include <QByteArrayList>
#include <QString>

// Which formatter shows a file, and with how many bytes.

// The format the user asked for: chosen from the file's type (Automatic) or
// forced by one of the "View selected file" entries. It lasts for one view.
enum class ViewMode { Automatic, Basic, HexDump, Text, List, Data, Picture };

// The formatter that fills a view window; None leaves the window empty.
// Picture: the bytes are screen memory, shown with RenderScreen.
enum class ViewFormat { None, Basic, HexDump, Text, List, Data, Picture };

struct ViewChoice
{
    // Not empty: the view is refused with this message and nothing is run.
    QString refusal;
    ViewFormat format = ViewFormat::None;
    // Data bytes the formatter renders: "Vars" for a BASIC listing (so the
    // variables area is left out), "Real Size" for every other format.
    quint32 count = 0;
};

// Chooses the view of a file from the list's "Type", "Real Size" and "Vars"
// values (the numbers as GroupedToInt reads the cells):
//  - a real size above 65536 is refused with "File too big (>64K).";
//    65536 itself is viewed whole;
//  - Automatic: "Program" lists as BASIC, the two array types as a byte list,
//    "Bytes" and "Headerless" of exactly 6912 bytes (a SCREEN$, whatever its
//    start address) as a picture, other "Bytes" and "Headerless" as a hex
//    dump, any other type shows nothing;
//  - Basic on a file that is not a "Program" is refused with "This file
//    cannot be viewed as BASIC.";
//  - Picture on a file for which OffersPicture is false is refused with
//    "This file cannot be viewed as a picture.";
//  - HexDump, Text, List and Data apply to any type.
ViewChoice ChooseView(ViewMode mode, const QString& typeName, qint64 realSize, qint64 vars);

// True when "As Picture" applies: a "Bytes" or "Headerless" file of 6912
// bytes (screen memory) or of 6144 bytes (a bitmap without attributes, shown
// black on white).
bool OffersPicture(const QString& typeName, qint64 realSize);

// Runs the chosen formatter on the local copy at `path` (None gives no
// lines). A Picture's lines are its hex dump: the text a window without a
// picture shows, and what "Save as" text writes of it. Throws FormatterError
// when the copy cannot be read.
QByteArrayList RenderView(const ViewChoice& choice, const QString& path, const QString& typeName);

// The screen memory a Picture view shows: the chosen count of data bytes of
// the local copy at `path` (after the header unless the type is
// "Headerless"), for RenderScreen. Throws FormatterError when the copy
// cannot be read.
QByteArray ReadPicture(const ViewChoice& choice, const QString& path, const QString& typeName);
