#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// What the busy window and the status bar show while the archive downloads.
namespace update {

struct UpdateProgress
{
    qint64 received = 0; // body bytes received so far
    qint64 total = 0;    // body size from Content-Length; 0 when the server gave none
    // received / total as a whole percentage, a half going to the even
    // neighbour; empty when the total is unknown.
    std::optional<int> percent;

    // "50%" for the busy window's percentage label; empty without a total.
    QString percentText() const;
    // "Check for 3E update (500/1000)"; without a total only the bytes
    // received: "Check for 3E update (500)".
    QString statusText() const;
};

UpdateProgress updateProgress(qint64 received, qint64 total);

// Nearest whole percentage of part in whole (whole > 0), halves to even,
// kept within 0..100.
int roundedPercent(qint64 part, qint64 whole);

} // namespace update
