#include "test_zip.h"

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>
#include <zip.h>

QByteArray makeZip(const QList<ZipMember>& members)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("made.zip");
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw std::runtime_error("cannot create a zip");
    for (const ZipMember& member : members) {
        // The buffers of members outlive zip_close, which reads them.
        zip_source_t* source =
            zip_source_buffer(archive, member.data.constData(), member.data.size(), 0);
        const zip_int64_t index = zip_file_add(archive, member.name.constData(), source, 0);
        if (index < 0 || zip_file_set_mtime(archive, index, member.time.toSecsSinceEpoch(), 0) != 0)
            throw std::runtime_error(zip_strerror(archive));
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write a zip");
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
