#include "text_reader.h"

#include "app_error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

namespace {
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kEndOfFile = 26; // Ctrl-Z
constexpr qint64 kChunk = 64 * 1024;
} // namespace

TextLineReader::TextLineReader(QIODevice& device) : device_(device) {}

bool TextLineReader::Fill()
{
    if (ended_)
        return false;
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    const QByteArray more = device_.read(kChunk);
    if (more.isEmpty()) {
        ended_ = true;
        return false;
    }
    const qsizetype stop = more.indexOf(kEndOfFile);
    if (stop >= 0) {
        buffer_.append(more.constData(), stop);
        ended_ = true;
    } else {
        buffer_.append(more);
    }
    return true;
}

bool TextLineReader::AtEnd()
{
    while (pos_ >= buffer_.size()) {
        if (!Fill())
            return true;
    }
    return false;
}

bool TextLineReader::ReadLine(QByteArray& line)
{
    line.clear();
    if (AtEnd())
        return false;
    qsizetype scanFrom = pos_;
    for (;;) {
        const qsizetype cr = buffer_.indexOf(kCr, scanFrom);
        if (cr >= 0) {
            line = buffer_.mid(pos_, cr - pos_);
            pos_ = cr + 1;
            // The LF of a CR LF pair may lie in the next chunk.
            if (pos_ >= buffer_.size())
                Fill();
            if (pos_ < buffer_.size() && buffer_.at(pos_) == kLf)
                ++pos_;
            return true;
        }
        // Remember how far the line has been scanned: Fill() moves the unread
        // bytes to the front of the buffer; pos_ stays at the line's start.
        const qsizetype scanned = buffer_.size() - pos_;
        if (!Fill()) {
            line = buffer_.mid(pos_);
            pos_ = buffer_.size();
            return true;
        }
        scanFrom = pos_ + scanned;
    }
}

QList<QByteArray> SplitTextLines(QByteArrayView text)
{
    QByteArray copy = text.toByteArray();
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TextLineReader reader(buffer);
    QList<QByteArray> lines;
    QByteArray line;
    while (reader.ReadLine(line))
        lines.append(line);
    return lines;
}

void OpenTextFile(QIODevice& file, const QString& path)
{
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(QCoreApplication::translate("TextReader", "Cannot open the file * %1 *\n%2")
                           .arg(path, file.errorString()));
    }
}

QList<QByteArray> ReadTextFileLines(const QString& path)
{
    QFile file(path);
    OpenTextFile(file, path);
    TextLineReader reader(file);
    QList<QByteArray> lines;
    QByteArray line;
    while (reader.ReadLine(line))
        lines.append(line);
    return lines;
}
