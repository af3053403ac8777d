#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

// Reads the text files the disk tool writes (its standard output and error),
// line by line, as bytes:
//  - a line ends at a CR; an LF right after that CR belongs to the line end;
//  - a lone LF does not end a line: it stays in the line's bytes;
//  - a byte 26 (Ctrl-Z) ends the file; nothing after it is read;
//  - the last line needs no line end; an empty remainder is no line.
// So "a\r\nb" and "a\r\nb\r\n" both hold the lines "a" and "b", "\r\n" holds
// one empty line and an empty file holds none.

class TextLineReader
{
public:
    // Reads from an open device, which must outlive the reader.
    explicit TextLineReader(QIODevice& device);

    // Stores the next line (without its line end) in `line` and returns true;
    // returns false (and empties `line`) at the end of the file.
    bool ReadLine(QByteArray& line);

    // True when no further line can be read.
    bool AtEnd();

private:
    bool Fill();

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool ended_ = false; // Ctrl-Z seen or device exhausted
};

// Every line of a text held in memory.
QList<QByteArray> SplitTextLines(QByteArrayView text);

// Every line of a file. Raises AppError when the file cannot be opened.
QList<QByteArray> ReadTextFileLines(const QString& path);

// Opens a file for reading text lines; raises AppError with the path and the
// system's reason when it cannot be opened.
void OpenTextFile(QIODevice& file, const QString& path);
