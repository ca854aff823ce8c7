// Compaction and repair of version files, and the salvage of records from their pages.

#include "books/Versification.h"
#include "support/InstallTreeTest.h"
#include "versiondb/Repair.h"
#include "versiondb/VersionStore.h"

#include <iterator>
#include <ranges>

using namespace versiondb;
using books::koreanVersification;
using books::SkeletonVerse;
using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

using CompactRepair = InstallTreeTest;

qint64 pageSize(const QString& file)
{
    return sql(file, "PRAGMA page_size").toLongLong();
}

// The number of the first leaf page of a table that holds the text.
qint64 tableLeafHolding(const QString& file, const QString& text)
{
    const QByteArray all = bytes(file);
    const qint64 size = pageSize(file);
    for (qint64 page = 2; page * size <= all.size(); ++page) {
        const QByteArray content = all.mid((page - 1) * size, size);
        if (content.front() == '\x0d' && content.contains(text.toUtf8())) {
            return page;
        }
    }
    return 0;
}

// Overwrites the page from offset on.
void overwrite(const QString& file, qint64 page, const QByteArray& bytes, qint64 offset = 0)
{
    QFile f(file);
    ASSERT_TRUE(page > 0 && f.open(QIODevice::ReadWrite) && f.seek((page - 1) * pageSize(file) + offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

// A source in use, or an existing destination: an error, and nothing written or changed.
TEST_F(CompactRepair, aRefusedCompactionWritesNothing)
{
    const QString source = makeVersion(u"mine.dat"_s, 30), scratch = path(u"temp.mdb"_s);
    const QByteArray sourceBytes = bytes(source);
    const auto compact = [&] {
        return errorOf(
            [&] { VersionStore::openDatabase(source, VersionStore::Hold::Unchanged)->compactDatabase(scratch); });
    };
    auto held = VersionStore::openDatabase(source);
    EXPECT_EQ(compact(), errorNumber::FileInUse);
    held.reset();
    EXPECT_EQ(installEntries(), QStringList{u"mine.dat"_s});
    write(scratch, "old scratch");
    EXPECT_EQ(compact(), errorNumber::DatabaseExists);
    EXPECT_EQ(bytes(scratch), QByteArray("old scratch"));
    EXPECT_EQ(bytes(source), sourceBytes);
}

// The first verses of the Korean numbering, with texts when texts (창 1:20's spilling onto overflow pages).
QList<Verse> skeletonVerses(int count, bool texts)
{
    QList<Verse> verses;
    for (const SkeletonVerse& v : koreanVersification() | std::views::take(count)) { // numbered from 1
        const QString text = u"본문 %1 "_s.repeated(v.number == 20 ? 600 : 1 + v.number % 9).arg(v.number);
        verses.append({v.number, v.reference, texts ? QVariant(text) : QVariant(), v.book, v.verse, v.chapter});
    }
    return verses;
}

// Gives record 7's text the serial type type, in place of the two bytes of its own.
std::function<void(const QString&)> textType(const char* type)
{
    return [type](const QString& file) {
        QByteArray b = bytes(file); // the record's header: 6 values, then its body up to the reference
        const qsizetype at = b.indexOf(QByteArray("\x08\x01\x09\x09\x01\x1b\x81\x1d\x07\x07") + "창 1:7");
        ASSERT_GT(at, 0);
        write(file, b.replace(at + 6, 2, type));
    };
}

// A repair gives back every record of the reference and every text that reads, lists what did not and keeps the
// damaged file beside; a file with nothing to salvage is left as it was.
TEST_F(CompactRepair, repairBringsBackEveryRecordOfTheReferenceAndSaysWhatItCouldNot)
{
    constexpr int count = 1500;
    const QString reference = makeVersion(u"개역.DAT"_s, skeletonVerses(count, false));
    const auto run = [](const char* statements) {
        return [statements](const QString& file) { (void)sql(file, statements); };
    };
    const struct
    {
        const char* name;
        std::function<void(const QString&)> damage;
        int error = 0;
        bool lostSome = false;
        const char16_t* damagedTo = nullptr; // the text of record 7 when it is the one damaged
        bool historyLost = false;            // rows of the history did not read whole
    } cases[] = {
        {"indexes swapped",
         run("PRAGMA writable_schema=ON;"
             "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema WHERE type = 'index';"
             "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
             "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';")},
        {"a leaf page of the table, through a link",
         [](const QString& file) { overwrite(file, tableLeafHolding(file, u"창 25:1"_s), QByteArray(48, '\xee')); }, 0,
         true},
        {"the schema page", [](const QString& file) { overwrite(file, 1, QByteArray(300, '3'), 100); }},
        {"cut short", [](const QString& file) { ASSERT_TRUE(QFile(file).resize(QFile(file).size() / 2)); }, 0, true},
        {"a garbled reference", run("UPDATE 본문 SET 성경구절 = '싸@n02:11' WHERE 번호 = 5")},
        {"a garbled number", run("UPDATE 본문 SET 번호 = 9 WHERE 번호 = 8")},
        {"a garbled number and a kept text",
         run("UPDATE 본문 SET 번호 = 9 WHERE 번호 = 8; INSERT INTO 이전본문 VALUES (1, x'28b52ffd')"), 0, false,
         nullptr, true},
        {"the bytes of a text", run("UPDATE 본문 SET 본문 = CAST(x'eab080ff' AS TEXT) WHERE 번호 = 7"), 0, false,
         u"가\uFFFD"},
        {"a line break in a text", run("UPDATE 본문 SET 본문 = '가' || char(13, 10) WHERE 번호 = 7"), 0, false,
         u"가\uFFFD\uFFFD"},
        // The type of record 7's text (72 bytes: 81 1d) made one of 69 bytes, then a 15-byte text and a 3-byte blob.
        {"a text's length in its record", textType("\x81\x17"), 0, false,
         u"본문 7 본문 7 본문 7 본문 7 본문 7 본문 7 본문 7 본문"},
        {"a value too many in a record's length", textType("\x2b\x12"), 0, false, u"본문 7 본문"},
        {"password verifier", run("UPDATE byeorisol_password SET verifier = randomblob(32)")},
        {"not built on the reference, verifier damaged",
         run("UPDATE 본문 SET 번호 = 번호 + 1; UPDATE 본문 SET 번호 = 1 WHERE 번호 = 1501;"
             "UPDATE byeorisol_password SET verifier = randomblob(32)")},
        {"table dropped", run("PRAGMA secure_delete=ON; DROP TABLE \"본문\""), errorNumber::NoSuchTable},
        {"text file", [](const QString& file) { write(file, QByteArray("창 1:1 태초에\r\n").repeated(400)); },
         errorNumber::UnrecognizedFormat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = QString::fromUtf8(c.name); // the file alone in a folder of its own
        ASSERT_TRUE(QDir(installFolder()).mkdir(folder));
        const QString file = makeVersion(folder + u"/mine.dat"_s, skeletonVerses(count, true));
        const bool throughLink = testsupport::kSymbolicLinks && folder.contains(u"link"_s),
                   onReference = !folder.startsWith(u"not built"_s);
        const QString chosen = throughLink ? path(folder + u".link"_s) : file;
        ASSERT_TRUE(!throughLink || QFile::link(folder + u"/mine.dat"_s, chosen));
        const QList<StoredRecord> before = storedRecords(file);
        const auto verifier = [&] { return sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password"); };
        const QString verifierBefore = verifier();
        ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner)); // stays private
        const QFile::Permissions mode = QFile::permissions(file);
        c.damage(file);
        const QByteArray damaged = bytes(file);
        RepairReport report;
        std::optional<Error> failure;
        try {
            report = repairDatabase(chosen, reference);
        } catch (const Error& error) {
            failure = error;
        }
        EXPECT_EQ(failure ? failure->number() : 0, c.error);
        EXPECT_EQ(QFileInfo(chosen).isSymLink(), throughLink);
        QStringList expectedFiles{u"mine.dat"_s};
        if (c.error != 0) {
            EXPECT_TRUE(failure->items().size() == 2 && failure->items()[1].number == errorNumber::DatabaseDamaged);
            EXPECT_EQ(bytes(file), damaged);
        } else {
            EXPECT_TRUE(report.rewritten);
            EXPECT_EQ(QFile::permissions(file), mode);
            EXPECT_FALSE(VersionStore::openDatabase(file)->soundnessFault());
            const QList<StoredRecord> after = storedRecords(chosen);
            ASSERT_EQ(after.size(), count);
            std::vector<int> lost;
            for (qsizetype i = 0; i < after.size(); ++i) {
                // Off the reference, the damage numbered each record one up and the last 1.
                StoredRecord expected = before[onReference ? i : (i + count - 1) % count];
                expected.number = onReference ? expected.number : after[i].number;
                if (c.damagedTo != nullptr && i == 6) {
                    expected.text = QString::fromUtf16(c.damagedTo);
                } else if (after[i].text.isNull()) {
                    lost.push_back(after[i].number.toInt());
                    expected.text = QVariant();
                }
                EXPECT_EQ(after[i], expected) << i;
            }
            std::vector<int> reportedLost;
            std::ranges::transform(report.lost, std::back_inserter(reportedLost), [](auto& v) { return v.number; });
            EXPECT_EQ(reportedLost, lost);
            EXPECT_EQ(c.lostSome, !lost.empty());
            EXPECT_EQ(report.damaged.size(), c.damagedTo != nullptr ? 1u : 0u);
            EXPECT_EQ(report.historyLost, c.historyLost);
            if (!report.whole() || c.historyLost) {
                EXPECT_EQ(std::pair(bytes(report.keptOriginal), QFile::permissions(report.keptOriginal)),
                          std::pair(damaged, mode));
                expectedFiles << QFileInfo(report.keptOriginal).fileName();
            }
            EXPECT_EQ(verifier() == verifierBefore, !folder.contains(u"verifier"_s));
        }
        EXPECT_EQ(QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System), expectedFiles);
    }
}
