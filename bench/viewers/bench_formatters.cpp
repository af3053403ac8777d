// Time of each formatter on a 64 KB local copy, the file read included.
// The view window must show a 64 KB file as List within 300 ms and as a hex
// dump within 100 ms, the disk tool's run included; these are the formatters'
// shares. Reports the median of repeated runs.
#include "formatters.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr quint32 kSize = kMaxViewBytes;

// Fixture files written once for the whole run.
class Fixtures
{
public:
    Fixtures()
    {
        if (!dir_.isValid()) {
            std::fprintf(stderr, "cannot create a temporary folder\n");
            std::exit(1);
        }
        std::mt19937 random(7);
        QByteArray bytes(kSize, Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(random());
        bytesPath_ = Write("BYTES", QByteArray(kPlus3DosHeaderSize, '\0') + bytes);

        // A program of lines like: PRINT "hello, world"; 1234: LET a=a+1
        QByteArray program;
        const QByteArray text = QByteArray("\xF5\"hello, world\";1234\x0E\0\0\xD2\x04\0:\xF1"
                                           "a=a+1\x0E\0\0\x01\0\0\r",
                                           35);
        for (int number = 1; program.size() + 4 + text.size() <= int(kSize) - 1; ++number) {
            program += char(number >> 8);
            program += char(number & 0xFF);
            program += char(text.size() & 0xFF);
            program += char(text.size() >> 8);
            program += text;
        }
        programLength_ = static_cast<quint32>(program.size());
        programPath_ = Write("PROGRAM", QByteArray(kPlus3DosHeaderSize, '\0') + program);
    }

    QString bytesPath_;
    QString programPath_;
    quint32 programLength_ = 0;

private:
    QString Write(const QString& name, const QByteArray& contents)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        return path;
    }

    QTemporaryDir dir_;
};

const Fixtures& Files()
{
    static const Fixtures files;
    return files;
}

template <QByteArrayList (*Format)(const QString&, const QString&, quint32)>
void BM_Typed(benchmark::State& state)
{
    const QString& path = Files().bytesPath_;
    qsizetype lines = 0;
    for (auto _ : state) {
        const QByteArrayList result = Format(path, "Bytes", kSize);
        lines = result.size();
        benchmark::DoNotOptimize(result.constData());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The text the window would be given in one piece: the lines joined.
template <QByteArrayList (*Format)(const QString&, const QString&, quint32)>
void BM_TypedJoined(benchmark::State& state)
{
    const QString& path = Files().bytesPath_;
    for (auto _ : state) {
        const QByteArray text = Format(path, "Bytes", kSize).join('\n');
        benchmark::DoNotOptimize(text.constData());
    }
}

void BM_FormatBasic(benchmark::State& state)
{
    const Fixtures& files = Files();
    qsizetype lines = 0;
    for (auto _ : state) {
        const QByteArrayList result = FormatBasic(files.programPath_, files.programLength_);
        lines = result.size();
        benchmark::DoNotOptimize(result.constData());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The coloured listing of the same program, from the bytes in memory.
void BM_BasicSyntaxListing(benchmark::State& state)
{
    const Fixtures& files = Files();
    const QByteArray program = ReadViewData(files.programPath_, true, files.programLength_);
    for (auto _ : state) {
        const QList<BasicSyntaxLine> result = BasicSyntaxListing(program);
        benchmark::DoNotOptimize(result.constData());
    }
}

#define HARNWICK_BENCH(...)                                                                    \
    BENCHMARK(__VA_ARGS__)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly()

HARNWICK_BENCH(BM_Typed<FormatList>)->Name("FormatList/64K");
HARNWICK_BENCH(BM_TypedJoined<FormatList>)->Name("FormatList+join/64K");
HARNWICK_BENCH(BM_Typed<FormatHexDump>)->Name("FormatHexDump/64K");
HARNWICK_BENCH(BM_TypedJoined<FormatHexDump>)->Name("FormatHexDump+join/64K");
HARNWICK_BENCH(BM_Typed<FormatText>)->Name("FormatText/64K");
HARNWICK_BENCH(BM_Typed<FormatData>)->Name("FormatData/64K");
HARNWICK_BENCH(BM_FormatBasic)->Name("FormatBasic/64K");
HARNWICK_BENCH(BM_BasicSyntaxListing)->Name("BasicSyntaxListing/64K");

}  // namespace

BENCHMARK_MAIN();
