#include "cpm_filler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

// cpmtools is given a copy of the partition that starts this far into its
// file (it misreads names at offset 0).
constexpr qint64 kPad = 16384;

// Runs a program; its standard output, or nothing and *problem set.
QByteArray Run(const QString& program, const QStringList& args, QString* problem, const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        *problem = program + " " + args.join(' ') + ": " + QString::fromUtf8(process.readAllStandardError());
    return process.readAllStandardOutput();
}

}  // namespace

QByteArray Plus3File(int type, const QByteArray& data, quint16 param1, quint16 param2)
{
    QByteArray header(128, '\0');
    header.replace(0, 10, "PLUS3DOS\x1A\x01");
    const auto put16 = [&](int at, quint32 value) {
        header[at] = char(value & 0xFF);
        header[at + 1] = char(value >> 8 & 0xFF);
    };
    const quint32 total = static_cast<quint32>(data.size()) + 128;  // with the header
    put16(11, total);
    put16(13, total >> 16);
    header[15] = char(type);
    put16(16, static_cast<quint32>(data.size()));
    put16(18, param1);
    put16(20, param2);
    quint8 sum = 0;
    for (int i = 0; i < 127; ++i)
        sum = quint8(sum + quint8(header[i]));
    header[127] = char(sum);
    return header + data;
}

CpmFiller::CpmFiller(const QString& tool, const QString& image, const QString& partition, const QString& work)
    : m_image(image), m_work(work)
{
    const QByteArray table = Run(tool, {image, "showptable", "-backend"}, &m_problem);
    const QString details = QString::fromLatin1(Run(tool, {image, "showpentry", partition}, &m_problem));
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(',');
        if (f.size() >= 10 && f[0] == partition.toUtf8()) {
            m_offset = f[7].toLongLong() * 512;
            m_length = f[9].toLongLong();
        }
    }
    QFile file(image);
    if (file.open(QIODevice::ReadOnly) && file.peek(6) == "RS-IDE") {
        const QByteArray start = file.read(11);
        m_offset += quint8(start[9]) | quint8(start[10]) << 8;
    }
    const auto block = QRegularExpression("Block size: ([0-9,]+)").match(details);
    const auto dsm = QRegularExpression("DSM (\\d+)").match(details);
    const auto drm = QRegularExpression("DRM (\\d+)").match(details);
    if (m_length == 0 || !block.hasMatch() || !dsm.hasMatch() || !drm.hasMatch()) {
        m_problem += "\nno +3DOS partition " + partition + " found:\n" + details;
        return;
    }
    const qint64 blockSize = block.captured(1).remove(',').toLongLong();
    QFile defs(QDir(work).filePath("diskdefs"));
    if (!defs.open(QIODevice::WriteOnly))
        m_problem = "cannot write in " + work;
    defs.write(QString("diskdef part\n  seclen 512\n  tracks %1\n  sectrk 128\n  blocksize %2\n  maxdir %3\n"
                       "  skew 0\n  boottrk 0\n  os 2.2\n  offset %4\nend\n")
                   .arg((dsm.captured(1).toLongLong() + 1) * blockSize / (128 * 512))
                   .arg(blockSize)
                   .arg(drm.captured(1).toLongLong() + 1)
                   .arg(kPad)
                   .toLatin1());
}

QString CpmFiller::put(const QString& name, const QByteArray& bytes)
{
    if (!m_problem.isEmpty())
        return m_problem;
    // The partition alone behind the pad; written back into the image after.
    QFile image(m_image);
    QFile copy(QDir(m_work).filePath("part.img"));
    QFile host(QDir(m_work).filePath("host.bin"));
    if (!image.open(QIODevice::ReadWrite) || !image.seek(m_offset) || !copy.open(QIODevice::WriteOnly) ||
        !host.open(QIODevice::WriteOnly))
        return "cannot open the image or write in " + m_work;
    copy.write(QByteArray(kPad, '\0') + image.read(m_length));
    copy.close();
    host.write(bytes);
    host.close();
    QString problem;
    Run("cpmcp", {"-f", "part", "part.img", "host.bin", "0:" + name}, &problem, m_work);
    if (problem.isEmpty() && copy.open(QIODevice::ReadOnly) && copy.seek(kPad) && image.seek(m_offset))
        image.write(copy.readAll());
    return problem;
}
