// Writing a 500-file tape in one pass, and cutting the header off a large
// file. Both stream their data through a 16000-byte buffer, so the peak
// memory of the process stays flat however large the data is: each benchmark
// reports the process's peak resident size and how much it grew while the
// benchmark ran.

#include "header_cut.h"
#include "tape_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kFiles = 500;

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A size mix like a real collection: screens, BASIC programs, machine code
// up to the largest a tape block holds. About 8 MB in all.
qint64 FileSize(int i)
{
    switch (i % 5) {
    case 0:
        return 6912;
    case 1:
        return 200 + (i * 37) % 3000;
    case 2:
        return 1000 + (i * 7919) % 20000;
    case 3:
        return 20000 + (i * 104729) % 26000;
    default:
        return i % 50 == 4 ? kMaxTapeDataLength : 16000 + i % 3;
    }
}

void WriteFile(const QString& path, qint64 size, const QByteArray& source)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(source.constData(), size) != size)
        qFatal("cannot write %s", qPrintable(path));
}

void ReportMemory(benchmark::State& state, long peakBefore)
{
    state.counters["peak_rss_KB"] = static_cast<double>(PeakRssKb());
    state.counters["rss_growth_KB"] = static_cast<double>(PeakRssKb() - peakBefore);
}

void BM_Tape500Files(benchmark::State& state)
{
    const TapeFormat format = static_cast<TapeFormat>(state.range(0));
    QTemporaryDir dir;
    QByteArray source(kMaxTapeDataLength, Qt::Uninitialized);
    for (qsizetype i = 0; i < source.size(); ++i)
        source[i] = static_cast<char>(i * 31 + i / 97);
    QList<TapeFileFacts> files;
    qint64 total = 0;
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("F%1.BIN").arg(i, 4, 10, QChar(u'0'));
        files.append({name, QStringLiteral("Bytes"), FileSize(i), 32768, 0});
        WriteFile(dir.filePath(name), FileSize(i), source);
        total += FileSize(i);
    }
    source = QByteArray();
    const QString tapePath = dir.filePath(format == TapeFormat::Tzx ? QStringLiteral("ALL.TZX")
                                                                    : QStringLiteral("ALL.TAP"));

    const long peakBefore = PeakRssKb();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(tapePath);
        state.ResumeTiming();
        TapeWriter tape(tapePath);
        for (const TapeFileFacts& facts : files) {
            if (!tape.append(facts, dir.filePath(facts.name)).written())
                state.SkipWithError("file refused");
        }
        tape.close();
    }
    state.SetBytesProcessed(state.iterations() * total);
    state.counters["files"] = kFiles;
    state.counters["data_MB"] = static_cast<double>(total) / 1e6;
    ReportMemory(state, peakBefore);
}
BENCHMARK(BM_Tape500Files)
    ->Arg(static_cast<int>(TapeFormat::Tap))
    ->Arg(static_cast<int>(TapeFormat::Tzx))
    ->ArgName("tzx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// A headerless-sized file of 8 MB (the largest a +3DOS file can be).
void BM_HeaderCut8MB(benchmark::State& state)
{
    constexpr qint64 kSize = 8 * 1024 * 1024;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BIG"));
    const QByteArray chunk(64 * 1024, 'x');
    const long peakBefore = PeakRssKb();
    for (auto _ : state) {
        state.PauseTiming();
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(path));
            for (qint64 written = 0; written < kSize; written += chunk.size())
                file.write(chunk);
        }
        state.ResumeTiming();
        CutPlus3DosHeader(path);
    }
    state.SetBytesProcessed(state.iterations() * kSize);
    ReportMemory(state, peakBefore);
}
BENCHMARK(BM_HeaderCut8MB)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
