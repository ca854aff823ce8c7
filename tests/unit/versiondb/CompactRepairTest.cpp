// Compaction and repair of version files, and the salvage of records from their pages.

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/PageSalvage.h"
#include "versiondb/Password.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <functional>

using namespace versiondb;
using namespace testsupport;

namespace {

using CompactRepair = InstallTreeTest;

// Overwrites the page the query names from offset on.
void overwrite(const QString& file, const char* pageQuery, const QByteArray& bytes, qint64 offset = 0)
{
    const qint64 page = sql(file, pageQuery).toLongLong();
    QFile f(file);
    ASSERT_TRUE(page > 0 && f.open(QIODevice::ReadWrite) &&
                f.seek((page - 1) * sql(file, "PRAGMA page_size").toLongLong() + offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

// A source in use or of another password, or an existing destination: an error, and nothing
// written or changed. (The records of a compacted copy are the maintenance tests' concern.)
TEST_F(CompactRepair, aRefusedCompactionWritesNothing)
{
    const QString source = makeVersion(QStringLiteral("mine.dat"), 30);
    const QString scratch = path(QStringLiteral("temp.mdb"));
    const QByteArray sourceBytes = bytes(source);
    const auto compact = [&](const QString& connect) {
        return errorOf([&] { DBEngine::instance().CompactDatabase(source, scratch, connect); });
    };
    EXPECT_EQ(compact(QStringLiteral(";pwd=x")), errorNumber::InvalidPassword);
    auto held = DBEngine::instance().OpenDatabase(source, true, false, passwordConnect());
    EXPECT_EQ(compact(passwordConnect()), errorNumber::FileInUse);
    held.reset();
    EXPECT_EQ(installEntries(), QStringList{QStringLiteral("mine.dat")});
    write(scratch, "old scratch");
    EXPECT_EQ(compact(passwordConnect()), errorNumber::DatabaseExists);
    EXPECT_EQ(bytes(scratch), QByteArray("old scratch"));
    EXPECT_EQ(bytes(source), sourceBytes);
}

// After a repair the file opens with the password, passes the integrity check,
// holds every record that could be read with its values, keeps its password
// verifier unless that was damaged, and is alone in its folder. A file with nothing to
// salvage raises its error and "damaged", and is left as it was. A link is repaired in its target.
TEST_F(CompactRepair, repairBringsBackEveryReadableRecordOrLeavesTheFileAsItWas)
{
    const int count = 1500;
    const auto run = [](const char* statements) {
        return [statements](const QString& file) { (void)sql(file, statements); };
    };
    // The damage, the error of the repair, and the least number of records it keeps.
    const std::vector<std::tuple<const char*, int, int, std::function<void(const QString&)>>> damages = {
        // Each index's pages now hold the other index's entries.
        {"indexes", 0, count,
         run("PRAGMA writable_schema=ON;"
             "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema WHERE type = 'index';"
             "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
             "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';")},
        {"a leaf page of the table, through a link", 0, count * 9 / 10,
         [](const QString& file) {
             overwrite(file, "SELECT pageno FROM dbstat WHERE name = '본문' AND pagetype = 'leaf' LIMIT 1 OFFSET 20",
                       QByteArray(48, '\xee'));
         }},
        // The first page keeps the file header but loses the list of tables and indexes.
        {"the schema page", 0, count,
         [](const QString& file) { overwrite(file, "SELECT 1", QByteArray(300, '3'), 100); }},
        {"cut short by one byte", 0, count - 1,
         [](const QString& file) { ASSERT_TRUE(QFile(file).resize(QFile(file).size() - 1)); }},
        {"password verifier", 0, count, run("UPDATE byeorisol_password SET verifier = randomblob(32)")},
        {"table dropped", errorNumber::NoSuchTable, 0, run("PRAGMA secure_delete=ON; DROP TABLE \"본문\"")},
        {"text file", errorNumber::UnrecognizedFormat, 0,
         [](const QString& file) { write(file, QByteArray("창 1:1 태초에\r\n").repeated(400)); }},
    };
    for (const auto& [name, expected, least, damage] : damages) {
        SCOPED_TRACE(name);
        const QString folder = QString::fromUtf8(name); // the file alone in a folder of its own
        ASSERT_TRUE(QDir(installFolder()).mkdir(folder));
        const QString file = makeVersion(folder + QStringLiteral("/mine.dat"), count, Texts::EveryThird);
        const bool throughLink = folder.contains(QStringLiteral("link"));
        const QString chosen = throughLink ? path(folder + QStringLiteral(".link")) : file;
        ASSERT_TRUE(!throughLink || QFile::link(folder + QStringLiteral("/mine.dat"), chosen));
        const Records before = read(file).value();
        const auto verifier = [&] { return sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password"); };
        const QString verifierBefore = verifier();
        damage(file);
        const QByteArray damaged = bytes(file);
        EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(chosen); }), expected);
        EXPECT_EQ(QFileInfo(chosen).isSymLink(), throughLink);
        EXPECT_EQ(QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("mine.dat")});
        if (expected != 0) {
            EXPECT_TRUE(DBEngine::instance().errors().Count() == 2 &&
                        DBEngine::instance().errors().Item(1).Number == errorNumber::DatabaseDamaged);
            EXPECT_EQ(bytes(file), damaged);
        } else {
            EXPECT_EQ(integrityOf(file), QStringLiteral("ok"));
            const Records after = read(chosen).value_or(Records{});
            EXPECT_GE(static_cast<int>(after.size()), least);
            for (const auto& [number, values] : after) {
                EXPECT_EQ(values, before.at(number)) << number;
            }
            EXPECT_EQ(verifier() == verifierBefore, std::string_view(name) != "password verifier");
        }
    }
}

// Every record of a sound file and its verifier, long texts through their overflow pages;
// damaged bytes never lead outside the file.
TEST_F(CompactRepair, pageSalvageFindsEveryRecordAndSurvivesDamagedBytes)
{
    const QString file = makeVersion(QStringLiteral("v.dat"), 800);
    const QString text = QStringLiteral("긴 본문 ").repeated(2000); // far longer than a page
    (void)sql(file, QStringLiteral("UPDATE \"본문\" SET \"본문\" = '%1' WHERE \"번호\" = 7").arg(text));
    const QByteArray sound = bytes(file);
    int sum = 0;
    for (const PageSalvage::Record& r : PageSalvage(sound).records(6)) {
        const int n = r.values[0].toInt();
        EXPECT_TRUE(r.rowid == n && r.values[4] == QStringLiteral("창 1:%1").arg(n) &&
                    r.values[5] == (n == 7 ? QVariant(text) : QVariant()))
            << n;
        sum += n;
    }
    EXPECT_EQ(sum, 800 * 801 / 2);
    EXPECT_EQ(PageSalvage(sound).records(4).at(0).values[1].typeId(), QMetaType::QByteArray); // the verifier
    QRandomGenerator random(4417);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = sound.left(round % 4 == 0 ? random.bounded(static_cast<int>(sound.size())) : sound.size());
        for (int i = 0; i < 200 && !damaged.isEmpty(); ++i) {
            damaged[random.bounded(static_cast<int>(damaged.size()))] = static_cast<char>(random.bounded(256));
        }
        for (const PageSalvage::Record& r : PageSalvage(damaged).records(6)) {
            ASSERT_TRUE(r.values.size() == 6 && r.rowid > 0);
        }
    }
}
