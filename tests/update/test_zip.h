#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

// Builds zip archives for the update tests with libzip.
struct ZipMember
{
    QByteArray name;
    QByteArray data;
    QDateTime time; // stored at the zip format's two-second precision
};

QByteArray makeZip(const QList<ZipMember>& members);
