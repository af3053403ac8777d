#include "cpm_filler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

// cpmtools reads the partition from a copy that starts this far into its
// file (it misreads names at offset 0).
constexpr qint64 kPad = 16384;

QString Run(const QString& program, const QStringList& args, QByteArray* out, const QString& folder = {})
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return program + " did not finish";
    *out = process.readAllStandardOutput();
    if (process.exitCode() != 0)
        return program + " " + args.join(' ') + ": " + QString::fromUtf8(process.readAllStandardError() + *out);
    return {};
}

}  // namespace

QByteArray Plus3File(int type, const QByteArray& data, quint16 param1, quint16 param2)
{
    QByteArray header(128, '\0');
    header.replace(0, 8, "PLUS3DOS");
    header[8] = 0x1A;
    header[9] = 1;  // issue
    const quint32 total = static_cast<quint32>(data.size() + 128);
    for (int i = 0; i < 4; ++i)
        header[11 + i] = static_cast<char>(total >> (8 * i));
    const quint16 fields[] = {static_cast<quint16>(data.size()), param1, param2};
    header[15] = static_cast<char>(type);
    for (int i = 0; i < 3; ++i) {
        header[16 + 2 * i] = static_cast<char>(fields[i] & 0xFF);
        header[17 + 2 * i] = static_cast<char>(fields[i] >> 8);
    }
    quint8 sum = 0;
    for (int i = 0; i < 127; ++i)
        sum = static_cast<quint8>(sum + static_cast<quint8>(header[i]));
    header[127] = static_cast<char>(sum);
    return header + data;
}

CpmFiller::CpmFiller(const QString& tool, const QString& image, const QString& partition, const QString& work)
    : m_image(image), m_work(work)
{
    QByteArray table;
    QByteArray details;
    if (!(m_problem = Run(tool, {image, "showptable", "-backend"}, &table)).isEmpty() ||
        !(m_problem = Run(tool, {image, "showpentry", partition}, &details)).isEmpty())
        return;
    qint64 firstLba = -1;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(',');
        if (f.size() >= 10 && f[0] == partition.toUtf8()) {
            firstLba = f[7].toLongLong();
            m_length = f[9].toLongLong();
        }
    }
    QFile file(image);
    if (firstLba < 0 || !file.open(QIODevice::ReadOnly)) {
        m_problem = "no partition " + partition;
        return;
    }
    const QByteArray start = file.read(11);
    const qint64 header = start.startsWith("RS-IDE") ? quint8(start[9]) | quint8(start[10]) << 8 : 0;
    m_offset = header + firstLba * 512;

    const QString text = QString::fromLatin1(details);
    const auto block = QRegularExpression("Block size: ([0-9,.]+)").match(text);
    const auto dsm = QRegularExpression("DSM (\\d+)").match(text);
    const auto drm = QRegularExpression("DRM (\\d+)").match(text);
    if (!block.hasMatch() || !dsm.hasMatch() || !drm.hasMatch()) {
        m_problem = "showpentry gave no parameters:\n" + text;
        return;
    }
    const qint64 blockSize = block.captured(1).remove(',').remove('.').toLongLong();
    const qint64 tracks = (dsm.captured(1).toLongLong() + 1) * blockSize / (128 * 512);
    QFile defs(QDir(work).filePath("diskdefs"));
    defs.open(QIODevice::WriteOnly);
    defs.write(QStringLiteral("diskdef part\n  seclen 512\n  tracks %1\n  sectrk 128\n  blocksize %2\n"
                              "  maxdir %3\n  skew 0\n  boottrk 0\n  os 2.2\n  offset %4\nend\n")
                   .arg(tracks)
                   .arg(blockSize)
                   .arg(drm.captured(1).toLongLong() + 1)
                   .arg(kPad)
                   .toLatin1());
}

QString CpmFiller::put(const QString& name, const QByteArray& bytes)
{
    if (!m_problem.isEmpty())
        return m_problem;
    // The partition alone behind the pad, and back into the image after.
    QFile image(m_image);
    if (!image.open(QIODevice::ReadWrite) || !image.seek(m_offset))
        return "cannot open " + m_image;
    const QString copyPath = QDir(m_work).filePath("part.img");
    const QString hostPath = QDir(m_work).filePath("host.bin");
    QFile copy(copyPath);
    QFile host(hostPath);
    if (!copy.open(QIODevice::WriteOnly) || !host.open(QIODevice::WriteOnly))
        return "cannot write in " + m_work;
    copy.write(QByteArray(kPad, '\0') + image.read(m_length));
    copy.close();
    host.write(bytes);
    host.close();
    QByteArray out;
    const QString problem = Run("cpmcp", {"-f", "part", "part.img", "host.bin", "0:" + name}, &out, m_work);
    if (!problem.isEmpty())
        return problem;
    copy.open(QIODevice::ReadOnly);
    copy.seek(kPad);
    image.seek(m_offset);
    image.write(copy.readAll());
    return {};
}
