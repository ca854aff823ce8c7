// A whole check run over the whole Bible in one code page 949 file, repeated TIMES over
// (default 1), against an in-memory set of the versification table's references. Prints lines
// per second and the process's peak resident memory, which should not grow with TIMES.
#include "ImportBenchFiles.h"
#include "import/TextFileChecker.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int times = argc > 1 ? std::atoi(argv[1]) : 1;
    if (times < 1) {
        std::fprintf(stderr, "usage: import-check-run [TIMES]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString file = bench::wholeBibleWithCrLf(dir.path(), times);
    if (file.isEmpty() || bench::referenceSet().isEmpty()) {
        std::fprintf(stderr, "cannot prepare the input\n");
        return 2;
    }
    const long beforeKiB = bench::peakResidentKiB();
    qint64 accepted = 0;
    QElapsedTimer timer;
    timer.start();
    const importer::CheckResult result = importer::checkTextFiles(
        {file}, [](const QString& reference) { return bench::referenceSet().contains(reference); },
        [&accepted](const QString&, const QString&) { ++accepted; }, {}, {});
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!result.succeeded()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.failure->description));
        return 2;
    }
    const qint64 lines = accepted + (result.errorEntries - 2);
    std::printf("check run, %d Bible(s) in one file: %lld lines (%lld accepted) in %.3f s, %.0f lines/s\n", times,
                static_cast<long long>(lines), static_cast<long long>(accepted), seconds,
                static_cast<double>(lines) / seconds);
    std::printf("peak resident memory: %ld KiB before the run, %ld KiB after it\n", beforeKiB,
                bench::peakResidentKiB());
    return 0;
}
