#include "header_cut.h"

#include "transfer_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <array>

namespace {

constexpr qint64 kCopyBufferSize = 16000;

} // namespace

void CutPlus3DosHeader(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        throw TransferError(QCoreApplication::translate("HeaderCut", "Cannot open %1: %2")
                                .arg(shown, source.errorString()));
    if (source.size() < kPlus3DosHeaderSize)
        throw TransferError(QCoreApplication::translate(
                                "HeaderCut", "%1 holds %2 bytes, fewer than the %3 bytes of a "
                                             "+3DOS header; it was left as it is.")
                                .arg(shown)
                                .arg(source.size())
                                .arg(kPlus3DosHeaderSize));
    if (!source.seek(kPlus3DosHeaderSize))
        throw TransferError(QCoreApplication::translate("HeaderCut", "Cannot read %1: %2")
                                .arg(shown, source.errorString()));

    // QSaveFile writes to a new, uniquely named file beside the target and
    // renames it over the target on commit; left uncommitted (on any error
    // below) it removes its temporary file and the original stays.
    QSaveFile cut(path);
    if (!cut.open(QIODevice::WriteOnly))
        throw TransferError(
            QCoreApplication::translate("HeaderCut", "Cannot create the cut copy of %1: %2")
                .arg(shown, cut.errorString()));
    std::array<char, kCopyBufferSize> buffer;
    for (;;) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0)
            throw TransferError(QCoreApplication::translate("HeaderCut", "Cannot read %1: %2")
                                    .arg(shown, source.errorString()));
        if (got == 0)
            break;
        if (cut.write(buffer.data(), got) != got)
            throw TransferError(
                QCoreApplication::translate("HeaderCut", "Cannot write the cut copy of %1: %2")
                    .arg(shown, cut.errorString()));
    }
    source.close();
    if (!cut.commit())
        throw TransferError(
            QCoreApplication::translate("HeaderCut", "Cannot replace %1 by its cut copy: %2")
                .arg(shown, cut.errorString()));
}
