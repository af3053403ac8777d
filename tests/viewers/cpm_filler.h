#pragma once

// Files written into a +3DOS partition of an image the disk tool made, by
// cpmtools (an independent CP/M implementation), for tests and benchmarks
// that view them through the tool.
#include <QByteArray>
#include <QString>

// A host file with the 128-byte +3DOS header in front of `data`: type 0
// Program, 1 Number Array, 2 Character Array, 3 Bytes.
QByteArray Plus3File(int type, const QByteArray& data, quint16 param1, quint16 param2);

class CpmFiller
{
public:
    // The partition's place comes from the tool's showptable, its CP/M
    // parameters from showpentry. `work` is a folder the filler may use.
    CpmFiller(const QString& tool, const QString& image, const QString& partition, const QString& work);

    // Writes `bytes` as the file 0:name. Returns an empty text, or what went
    // wrong.
    QString put(const QString& name, const QByteArray& bytes);

    // Empty when the partition was found and understood; else the reason.
    QString problem() const { return m_problem; }

private:
    QString m_image;
    QString m_work;
    qint64 m_offset = 0;
    qint64 m_length = 0;
    QString m_problem;
};
