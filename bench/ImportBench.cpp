// Line parsing and file checking of the import. The existence test is an in-memory set of the
// versification table's references, standing in for the reference version.
#include "ImportBenchFiles.h"
#include "KjvText.h"
#include "import/ParseImportLine.h"
#include "import/TextFileChecker.h"

#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const importer::ReferenceExists kInReferenceSet = [](const QString& reference) {
    return bench::referenceSet().contains(reference);
};

void parseImportLine(benchmark::State& state)
{
    const QStringList lines = benchdata::kjvLines();
    (void)bench::referenceSet();
    int accepted = 0;
    for (auto _ : state) {
        for (const QString& line : lines) {
            const importer::ParsedLine parsed = importer::parseImportLine(line, kInReferenceSet);
            accepted += parsed.outcome == importer::LineOutcome::Accepted ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed(state.iterations() * lines.size());
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(parseImportLine)->Unit(benchmark::kMillisecond);

void checkBookFiles(benchmark::State& state)
{
    QTemporaryDir dir;
    const QStringList files = bench::bookFilesWithCrLf(dir.path());
    if (files.size() != 66) {
        state.SkipWithError("cannot write the book files");
        return;
    }
    (void)bench::referenceSet();
    // The book files hold the same lines as the whole Bible.
    const auto lines = static_cast<qint64>(benchdata::kjvLines().size());
    qint64 written = 0;
    for (auto _ : state) {
        const importer::CheckResult result = importer::checkTextFiles(
            files, kInReferenceSet, [&written](const QString&, const QString&) { ++written; }, {}, {});
        benchmark::DoNotOptimize(result.errorEntries);
    }
    benchmark::DoNotOptimize(written);
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(checkBookFiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
