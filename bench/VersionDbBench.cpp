// The version database layer against the same work in raw SQLite in one
// transaction, in the same run:
//   skeleton: 31,102 records added to a new file (building a version's skeleton);
//   texts:    31,102 seek + setText by reference (storing the texts of a version).
// The layer stores every record on its own; raw SQLite writes all in one transaction.
// At the end the ratio layer / raw of each pair is printed.

#include "KjvText.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sqlite3.h>
#include <vector>

namespace {

struct Verse
{
    int number;
    int book;
    int chapter;
    int verse;
    QString reference;
    QString text;
};

// The verses of the King James text of the data folder, numbered in canonical order.
const std::vector<Verse>& verses()
{
    static const std::vector<Verse> all = [] {
        std::vector<Verse> out;
        int book = 0;
        QString lastAbbreviation;
        for (const QString& line : benchdata::kjvLines()) {
            const qsizetype space = line.indexOf(QLatin1Char(' '));
            const qsizetype second = line.indexOf(QLatin1Char(' '), space + 1);
            if (space < 0 || second < 0) {
                continue;
            }
            const QString abbreviation = line.left(space);
            const QString cv = line.mid(space + 1, second - space - 1);
            if (abbreviation != lastAbbreviation) {
                ++book;
                lastAbbreviation = abbreviation;
            }
            const int colon = static_cast<int>(cv.indexOf(QLatin1Char(':')));
            out.push_back(Verse{static_cast<int>(out.size()) + 1, book, cv.left(colon).toInt(),
                                cv.mid(colon + 1).toInt(), line.left(second), line.mid(second + 1)});
        }
        if (out.size() != 31102) {
            std::fprintf(stderr, "the King James text of the data folder is not there or not whole\n");
            std::exit(2);
        }
        return out;
    }();
    return all;
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::abort();
    }
}

QString newVersion(const QTemporaryDir& dir, int i)
{
    const QString path = dir.filePath(QStringLiteral("v%1.dat").arg(i));
    versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
    return path;
}

void fillSkeletonThroughLayer(const QString& path)
{
    const auto version = versiondb::VersionStore::openDatabase(path);
    for (const Verse& v : verses()) {
        version->addRecord({v.number, v.book, v.chapter, v.verse, v.reference, {}});
    }
    version->close();
}

void BM_SkeletonLayer(benchmark::State& state)
{
    QTemporaryDir dir;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = newVersion(dir, ++i);
        state.ResumeTiming();
        fillSkeletonThroughLayer(path);
    }
    state.SetItemsProcessed(state.iterations() * 31102);
}

void BM_SkeletonRaw(benchmark::State& state)
{
    QTemporaryDir dir;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = newVersion(dir, ++i);
        state.ResumeTiming();
        sqlite3* db = nullptr;
        check(sqlite3_open(path.toUtf8().constData(), &db), db);
        check(sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* insert = nullptr;
        check(sqlite3_prepare_v2(db,
                                 "INSERT INTO \"본문\" (\"번호\", \"권\", \"장\", \"절\", \"성경구절\") "
                                 "VALUES (?1, ?2, ?3, ?4, ?5)",
                                 -1, &insert, nullptr),
              db);
        for (const Verse& v : verses()) {
            const QByteArray reference = v.reference.toUtf8();
            sqlite3_bind_int(insert, 1, v.number);
            sqlite3_bind_int(insert, 2, v.book);
            sqlite3_bind_int(insert, 3, v.chapter);
            sqlite3_bind_int(insert, 4, v.verse);
            sqlite3_bind_text(insert, 5, reference.constData(), static_cast<int>(reference.size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * 31102);
}

// A fresh copy of a version with the skeleton and no texts.
QString skeletonCopy(const QTemporaryDir& dir, int i)
{
    static QTemporaryDir skeletonFolder;
    static QString skeleton;
    if (skeleton.isEmpty()) {
        skeleton = skeletonFolder.filePath(QStringLiteral("skeleton.dat"));
        versiondb::VersionFile::create(skeleton, versiondb::PasswordVerifier::forDatabasePassword());
        fillSkeletonThroughLayer(skeleton);
    }
    const QString path = dir.filePath(QStringLiteral("t%1.dat").arg(i));
    QFile::copy(skeleton, path);
    return path;
}

void BM_TextsLayer(benchmark::State& state)
{
    QTemporaryDir dir;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = skeletonCopy(dir, ++i);
        state.ResumeTiming();
        const auto version = versiondb::VersionStore::openDatabase(path);
        for (const Verse& v : verses()) {
            if (const std::optional<qint64> row = version->seek(v.reference)) {
                version->setText(*row, v.text);
            }
        }
        version->close();
    }
    state.SetItemsProcessed(state.iterations() * 31102);
}

void BM_TextsRaw(benchmark::State& state)
{
    QTemporaryDir dir;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = skeletonCopy(dir, ++i);
        state.ResumeTiming();
        sqlite3* db = nullptr;
        check(sqlite3_open(path.toUtf8().constData(), &db), db);
        check(sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
        sqlite3_stmt* find = nullptr;
        sqlite3_stmt* update = nullptr;
        check(sqlite3_prepare_v2(db, "SELECT rowid FROM \"본문\" WHERE \"성경구절\" = ?1 ORDER BY rowid LIMIT 1", -1,
                                 &find, nullptr),
              db);
        check(sqlite3_prepare_v2(db, "UPDATE \"본문\" SET \"본문\" = ?1 WHERE rowid = ?2", -1, &update, nullptr), db);
        for (const Verse& v : verses()) {
            const QByteArray reference = v.reference.toUtf8();
            sqlite3_bind_text(find, 1, reference.constData(), static_cast<int>(reference.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(find) == SQLITE_ROW) {
                const sqlite3_int64 rowid = sqlite3_column_int64(find, 0);
                const QByteArray text = v.text.toUtf8();
                sqlite3_bind_text(update, 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int64(update, 2, rowid);
                check(sqlite3_step(update), db);
                sqlite3_reset(update);
            }
            sqlite3_reset(find);
        }
        sqlite3_finalize(find);
        sqlite3_finalize(update);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * 31102);
}

BENCHMARK(BM_SkeletonLayer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SkeletonRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TextsLayer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TextsRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Prints the console report and, at the end, the layer's time over raw SQLite's for each pair.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                m_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* pair : {"Skeleton", "Texts"}) {
            const std::string layer = std::string("BM_") + pair + "Layer/iterations:3/real_time";
            const std::string raw = std::string("BM_") + pair + "Raw/iterations:3/real_time";
            if (m_ms.count(layer) != 0 && m_ms.count(raw) != 0 && m_ms[raw] > 0) {
                std::printf("%-9s layer %8.1f ms   raw one transaction %8.1f ms   ratio %.2f\n", pair, m_ms[layer],
                            m_ms[raw], m_ms[layer] / m_ms[raw]);
            }
        }
    }

private:
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
