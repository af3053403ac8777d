#pragma once

// Fixtures for the formatter tests: local copies written into a temporary
// folder, with or without a +3DOS header.
#include "plus3dos_header.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>

// Failure messages show byte strings as quoted text, other bytes as \xHH.
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"';
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\')
            *os << c;
        else
            *os << "\\x" << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
    }
    *os << '"';
}

namespace viewtest {

// Bytes from a list of values, for hand-made data.
inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A 128-byte +3DOS header as the disk tool writes it.
using testfixture::Plus3DosHeader;

// A temporary folder holding the local copies of one test.
class LocalCopies
{
public:
    LocalCopies() { EXPECT_TRUE(dir_.isValid()); }

    QString Write(const QString& name, const QByteArray& contents)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(contents), contents.size());
        return path;
    }

    // A local copy as `get` writes it: the header, then the data.
    QString WriteWithHeader(const QString& name, const QByteArray& data, int type = 3)
    {
        return Write(name, Plus3DosHeader(type, static_cast<quint16>(data.size()), 32768, 32768) +
                               data);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

}  // namespace viewtest
