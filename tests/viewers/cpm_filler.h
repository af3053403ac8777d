#pragma once

// Files written into a +3DOS partition of an image the disk tool made, by
// cpmtools (an independent CP/M implementation), for the tests and the
// benchmark that view them through the tool.
#include <QByteArray>
#include <QString>

// `data` behind a 128-byte +3DOS header: type 0 Program, 1 Number Array,
// 2 Character Array, 3 Bytes, and the two parameters.
QByteArray Plus3File(int type, const QByteArray& data, quint16 param1, quint16 param2);

class CpmFiller
{
public:
    // The partition's place comes from the tool's showptable, its CP/M
    // parameters from showpentry; `work` is a folder for cpmtools.
    CpmFiller(const QString& tool, const QString& image, const QString& partition, const QString& work);

    // Writes `bytes` as the file 0:name. Returns an empty text, or what went
    // wrong.
    QString put(const QString& name, const QByteArray& bytes);

private:
    QString m_image;
    QString m_work;
    qint64 m_offset = 0;
    qint64 m_length = 0;
    QString m_problem;
};
