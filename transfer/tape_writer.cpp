#include "tape_writer.h"

#include "text_utils.h"

#include "transfer_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

constexpr quint8 kHeaderFlag = 0x00;
constexpr quint8 kDataFlag = 0xFF;
constexpr int kNameFieldSize = 10;

// "ZXTape!", end-of-text marker 0x1A, version 1.20.
constexpr char kTzxSignature[] = {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 0x01, 0x14};
// Before every block in a TZX file: ID 0x10 (standard speed data) and a
// pause of 1000 ms after the block.
constexpr char kTzxBlockPrefix[] = {0x10, static_cast<char>(0xE8), 0x03};

quint8 XorInto(quint8 checksum, const char* data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i)
        checksum ^= static_cast<quint8>(data[i]);
    return checksum;
}

void AppendWord(QByteArray& bytes, quint16 word)
{
    bytes.append(static_cast<char>(word & 0xFF));
    bytes.append(static_cast<char>(word >> 8));
}

// The low 16 bits of a number read back from a list cell.
quint16 Low16(qint64 value)
{
    return static_cast<quint16>(value & 0xFFFF);
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString Grouped(qint64 value)
{
    return FormatGrouped(double(value), 1);
}

} // namespace

TapeFormat TapeFormatOf(const QString& tapePath)
{
    return QFileInfo(tapePath).suffix().toUpper() == QLatin1String("TZX") ? TapeFormat::Tzx
                                                                          : TapeFormat::Tap;
}

quint8 TapeTypeByte(const QString& typeText)
{
    if (typeText == QLatin1String("Program"))
        return 0;
    if (typeText == QLatin1String("Number Array"))
        return 1;
    if (typeText == QLatin1String("Character Array"))
        return 2;
    return 3;
}

QByteArray TapeNameField(const QString& name)
{
    QByteArray field = name.left(kNameFieldSize).toLatin1();
    field.append(kNameFieldSize - field.size(), ' ');
    return field;
}

QByteArray TapeBlock(quint8 flag, const QByteArray& payload)
{
    QByteArray block;
    block.reserve(payload.size() + 4);
    AppendWord(block, static_cast<quint16>(payload.size() + 2));
    block.append(static_cast<char>(flag));
    block.append(payload);
    block.append(static_cast<char>(XorInto(flag, payload.constData(), payload.size())));
    return block;
}

QByteArray TapeHeaderPayload(const TapeFileFacts& facts)
{
    QByteArray payload;
    payload.reserve(17);
    payload.append(static_cast<char>(TapeTypeByte(facts.type)));
    payload.append(TapeNameField(facts.name));
    AppendWord(payload, Low16(facts.length));
    AppendWord(payload, Low16(facts.start));
    AppendWord(payload, Low16(facts.vars));
    return payload;
}

TapeWriter::TapeWriter(const QString& tapePath) : tape_(tapePath), format_(TapeFormatOf(tapePath))
{
    // Append mode creates a missing file and never truncates an existing one.
    // Unbuffered: a failed write shows at once, and the tape can still be cut
    // back to its last whole block (a full write buffer could not be).
    if (!tape_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw TransferError(
            QCoreApplication::translate("TapeWriter", "Cannot open the tape file %1: %2")
                .arg(Native(tapePath), tape_.errorString()));
    // An empty file is begun like a new one: a TZX file without its signature
    // would be no tape at all.
    startedNew_ = tape_.size() == 0;
    if (startedNew_ && format_ == TapeFormat::Tzx) {
        try {
            writeToTape(kTzxSignature, sizeof kTzxSignature);
        } catch (const TransferError&) {
            tape_.resize(0); // no half signature that a later run would append to
            throw;
        }
    }
}

TapeWriter::~TapeWriter()
{
    if (tape_.isOpen())
        tape_.close();
}

QString TapeWriter::folder() const
{
    return QFileInfo(tape_.fileName()).absolutePath();
}

void TapeWriter::writeToTape(const char* data, qint64 size)
{
    if (tape_.write(data, size) != size)
        throw TransferError(
            QCoreApplication::translate("TapeWriter", "Cannot write to the tape file %1: %2")
                .arg(Native(path()), tape_.errorString()));
}

void TapeWriter::takeBackTo(qint64 size)
{
    if (!tape_.resize(size))
        throw TransferError(
            QCoreApplication::translate(
                "TapeWriter",
                "Cannot take back an incomplete block at the end of the tape file %1: %2")
                .arg(Native(path()), tape_.errorString()));
}

TapeAppendResult TapeWriter::append(const TapeFileFacts& facts, const QString& dataPath,
                                    qint64 dataOffset)
{
    if (!tape_.isOpen())
        throw TransferError(QCoreApplication::translate("TapeWriter", "The tape file %1 is closed.")
                                .arg(Native(path())));

    QFile data(dataPath);
    if (!data.open(QIODevice::ReadOnly))
        throw TransferError(QCoreApplication::translate("TapeWriter", "Cannot open %1: %2")
                                .arg(Native(dataPath), data.errorString()));

    TapeAppendResult result;
    dataOffset = std::max<qint64>(dataOffset, 0);
    result.fileBytes = std::max<qint64>(data.size() - dataOffset, 0);
    if (dataOffset > 0 && !data.seek(std::min(dataOffset, data.size())))
        throw TransferError(QCoreApplication::translate("TapeWriter", "Cannot read %1: %2")
                                .arg(Native(dataPath), data.errorString()));
    const qint64 length = facts.length;
    if (length < 0 || length > kMaxTapeDataLength) {
        result.status = TapeAppendResult::Status::TooLarge;
        result.message =
            QCoreApplication::translate(
                "TapeWriter", "%1 has a size of %2 bytes, which does not fit a tape block "
                              "of at most %3 bytes; it was not written to the tape.")
                .arg(facts.name, Grouped(length), Grouped(kMaxTapeDataLength));
        return result;
    }
    const auto shortFile = [&](qint64 held) {
        result.status = TapeAppendResult::Status::ShortFile;
        result.fileBytes = held;
        result.message = QCoreApplication::translate(
                             "TapeWriter", "%1 holds %2 bytes, fewer than its size of %3 bytes; "
                                           "it was not written to the tape.")
                             .arg(facts.name, Grouped(held), Grouped(length));
        return result;
    };
    if (result.fileBytes < length)
        return shortFile(result.fileBytes);

    // From here on a failure takes the tape back to where this file began, so
    // it never ends in a block whose length word promises more than follows.
    const qint64 start = tape_.size();
    try {
        QByteArray head;
        if (format_ == TapeFormat::Tzx)
            head.append(kTzxBlockPrefix, sizeof kTzxBlockPrefix);
        head.append(TapeBlock(kHeaderFlag, TapeHeaderPayload(facts)));
        if (format_ == TapeFormat::Tzx)
            head.append(kTzxBlockPrefix, sizeof kTzxBlockPrefix);
        AppendWord(head, static_cast<quint16>(length + 2));
        head.append(static_cast<char>(kDataFlag));
        writeToTape(head.constData(), head.size());

        std::array<char, kTapeCopyBufferSize> buffer;
        quint8 checksum = kDataFlag;
        qint64 left = length;
        while (left > 0) {
            const qint64 got = data.read(buffer.data(), std::min<qint64>(left, buffer.size()));
            if (got < 0)
                throw TransferError(QCoreApplication::translate("TapeWriter", "Cannot read %1: %2")
                                        .arg(Native(dataPath), data.errorString()));
            if (got == 0) {
                // The file shrank while it was being copied.
                takeBackTo(start);
                return shortFile(length - left);
            }
            checksum = XorInto(checksum, buffer.data(), got);
            writeToTape(buffer.data(), got);
            left -= got;
        }
        const char last = static_cast<char>(checksum);
        writeToTape(&last, 1);
    } catch (const TransferError&) {
        takeBackTo(start);
        throw;
    }
    result.surplusBytes = result.fileBytes - length;
    return result;
}

void TapeWriter::close()
{
    if (!tape_.isOpen())
        return;
    tape_.close();
    if (tape_.error() != QFileDevice::NoError)
        throw TransferError(
            QCoreApplication::translate("TapeWriter", "Cannot close the tape file %1: %2")
                .arg(Native(path()), tape_.errorString()));
}
