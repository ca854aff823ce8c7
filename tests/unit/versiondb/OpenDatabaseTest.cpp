// Version files: where they are found, their password, bad input, exclusive use and what a killed writer leaves.

#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/Repair.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <sqlite3.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace versiondb;
using namespace testsupport;

namespace {

using OpenDatabase = InstallTreeTest;

std::unique_ptr<VersionStore> open(const QString& file, const QString& connect = passwordConnect())
{
    return VersionStore::OpenDatabase(file, VersionStore::Hold::Write, connect);
}

} // namespace

TEST_F(OpenDatabase, badInputFailsWithItsErrorAndChangesNothing)
{
    ASSERT_TRUE(QDir(installFolder()).mkdir(QStringLiteral("x.dat")));
    const QString notVersion = writeFile(QStringLiteral("other.dat"), {});
    (void)sql(notVersion, "CREATE TABLE \"본문\" (a, b); INSERT INTO \"본문\" VALUES (1, 2)");
    const QString truncated = makeVersion(QStringLiteral("truncated.dat"), 2000);
    ASSERT_TRUE(QFile(truncated).resize(QFile(truncated).size() / 2));
    const auto readOnly = [](const QString& file) {
        return QFile::setPermissions(file, QFileDevice::ReadOwner) ? file : QString();
    };
    const std::vector<std::tuple<const char*, QString, int, QString>> cases = {
        {"missing file", path(QStringLiteral("none.dat")), errorNumber::FileNotFound, passwordConnect()},
        {"folder", path(QStringLiteral("x.dat")), errorNumber::InvalidPath, passwordConnect()},
        {"SQLite file not a version", notVersion, errorNumber::UnrecognizedFormat, passwordConnect()},
        {"the password in other letters", makeVersion(QStringLiteral("case.dat"), 2), errorNumber::InvalidPassword,
         QStringLiteral(";pwd=brackwind4417")},
        {"truncated", truncated, errorNumber::DatabaseDamaged, passwordConnect()},
        {"read-only", readOnly(makeVersion(QStringLiteral("ro.dat"), 2)), errorNumber::ReadOnly, passwordConnect()},
        {"read-only text file: the format is checked first",
         readOnly(writeFile(QStringLiteral("ro-text.dat"), "창 1:1 태초에\r\n")), errorNumber::UnrecognizedFormat,
         passwordConnect()},
    };
    for (const auto& [name, file, expected, connect] : cases) {
        SCOPED_TRACE(name);
        const auto state = [&] { return std::pair(bytes(file), installEntries()); };
        const auto before = state();
        EXPECT_EQ(errorOf([&] { (void)open(file, connect); }), expected);
        EXPECT_EQ(state(), before);
    }
}

// A second open fails at once as in use; closing, or destroying, a version releases the file and leaves no side
// file. An open removes the work files that killed compactions and repairs left beside the file. The file keeps a
// salted verifier, never the password.
TEST_F(OpenDatabase, anOpenFileIsInUseAndClosingLeavesItAloneAndSound)
{
    const QString file = makeVersion(QStringLiteral("clean.dat"), 2);
    const QStringList leftovers = {file + QStringLiteral(".compact-0a1b2c"), file + QStringLiteral(".repair-3f"),
                                   file + QStringLiteral(".repair-3f-journal")};
    for (const QString& leftover : leftovers + QStringList{file + QStringLiteral(".compact-notes")}) {
        write(leftover, "left by a killed run");
    }
    auto db = open(file);
    EXPECT_EQ(errorOf([&] { (void)open(file); }), errorNumber::FileInUse);
    db->Close();
    EXPECT_EQ(errorOf([&] { (void)db->RecordCount(); }), errorNumber::ObjectClosed);
    open(file).reset();
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("clean.dat"), QStringLiteral("clean.dat.compact-notes")}));
    EXPECT_EQ(integrityOf(file), QStringLiteral("ok"));
    EXPECT_FALSE(bytes(file).contains("Brackwind4417") || bytes(file).contains(QByteArray("Brackwind4417").toHex()));
    EXPECT_NE(bytes(makeVersion(QStringLiteral("a.dat"), 0)), bytes(makeVersion(QStringLiteral("b.dat"), 0)));
}

// A file of the release that kept a write-ahead log, left with committed records in its log as a crash leaves
// it, keeps them all and after its first open and close is one file whose header says rollback journal.
TEST_F(OpenDatabase, aFileWithAWriteAheadLogKeepsItsRecordsAndBecomesOneFile)
{
    const QString file = makeVersion(QStringLiteral("old.dat"), 40, Texts::EveryThird);
    const QString copy = path(QStringLiteral("copy.dat"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                           "UPDATE \"본문\" SET \"본문\" = 'log ' || \"번호\" WHERE \"번호\" > 20;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        ASSERT_TRUE(QFile::copy(file + suffix, copy + suffix));
    }
    sqlite3_close(db);
    ASSERT_EQ(bytes(copy).mid(18, 2), QByteArray("\x02\x02", 2));
    const Records expected = read(file).value();
    ASSERT_EQ(expected.at(30).second, QVariant(QStringLiteral("log 30")));
    EXPECT_EQ(read(copy), expected);
    EXPECT_EQ(bytes(copy).mid(18, 2), QByteArray("\x01\x01", 2));
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("copy.dat"), QStringLiteral("old.dat")}));
}

// While another process holds the file, an open or a repair fails as in use and changes nothing.
TEST_F(OpenDatabase, anotherProcessHoldsTheFileAndAKilledWriterLeavesEveryReturnedUpdateInASoundFile)
{
    const QString file = makeVersion(QStringLiteral("crash.dat"), 0);
    const auto start = [&](QProcess& child, const QStringList& arguments) {
        child.start(testBinFolder() + QStringLiteral("/versiondb-test-child"), arguments);
        return child.waitForStarted(10000);
    };
    QProcess holder;
    ASSERT_TRUE(start(holder, {QStringLiteral("hold"), file}) && holder.waitForReadyRead(10000) &&
                holder.readLine().trimmed() == "open");
    const QByteArray before = bytes(file);
    EXPECT_EQ(errorOf([&] { (void)open(file); }), errorNumber::FileInUse);
    EXPECT_EQ(errorOf([&] { (void)RepairDatabase(file); }), errorNumber::FileInUse);
    EXPECT_EQ(bytes(file), before);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000) && holder.exitCode() == 0);
    QSet<int> reported;
    int next = 1;
    SCOPED_TRACE("BYEORISOL_TEST_SEED=" + std::to_string(testSeed()));
    QRandomGenerator random(testSeed());
    for (int round = 0; round < 4; ++round) {
        QProcess child;
        ASSERT_TRUE(start(child, {QStringLiteral("store"), file, QString::number(next)}));
        // Let it write for a random while, then kill it wherever it is.
        const int wanted = random.bounded(20, 400);
        QByteArray output;
        while (output.count('\n') < wanted && child.state() == QProcess::Running) {
            child.waitForReadyRead(1000);
            output += child.readAllStandardOutput();
        }
        QThread::usleep(random.bounded(3000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        output += child.readAllStandardOutput();
        for (const QByteArray& line : output.split('\n')) {
            reported.insert(line.toInt());
        }
        reported.remove(0);
        ASSERT_FALSE(reported.isEmpty());
        // A record whose report was cut off may be stored too: the next round starts after it.
        next = std::max(next, *std::max_element(reported.begin(), reported.end()) + 1) + 1;
        std::map<int, StoredRecord> stored;
        for (const StoredRecord& r : storedRecords(file)) {
            stored[r.number.toInt()] = r;
        }
        for (const int n : reported) {
            const StoredRecord& r = stored[n];
            EXPECT_TRUE(r.reference == QStringLiteral("창 %1:1").arg(n) &&
                        r.book == (n % 3 ? QVariant() : n % 66 + 1) &&
                        r.text == QStringLiteral("본문 %1 ").arg(n).repeated(1 + n % 9))
                << n;
        }
        EXPECT_EQ(integrityOf(file), QStringLiteral("ok"));
        EXPECT_EQ(installEntries(), QStringList{QStringLiteral("crash.dat")});
    }
    EXPECT_GT(reported.size(), 40);
}

// The reference version is found whatever the letter case of its stored name;
// an exact match is preferred and a missing name left alone.
// A copy of the records of another file commits as a transaction of this file alone: with a
// write lock on the source as well, the commit goes through a super-journal, which a kill at the
// wrong moment leaves beside the file.
TEST_F(OpenDatabase, aCopyFromAnotherFileCommitsWithoutASuperJournal)
{
    const QString source = makeVersion(QStringLiteral("source.dat"), 5);
    const QString target = makeVersion(QStringLiteral("target.dat"), 0);
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(installFolder()).constData(), IN_CREATE), 0);
    open(target)->copySkeleton(source);
    QStringList created;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
        for (char* e = events; e < events + n; e += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(e)->len) {
            created << QString::fromUtf8(reinterpret_cast<inotify_event*>(e)->name);
        }
    }
    close(watch);
    EXPECT_EQ(created, QStringList{QStringLiteral("target.dat-journal")});
    EXPECT_EQ(storedRecords(target), storedRecords(source));
}

TEST_F(OpenDatabase, fileNamesResolveWithoutRegardToLetterCase)
{
    for (const char* name : {"개역.Dat", "kjv.dat", "KJV.DAT"}) {
        (void)writeFile(QString::fromUtf8(name), {});
    }
    EXPECT_EQ(referenceVersionPath(programFolder()), programFolder() + QStringLiteral("/../개역.Dat"));
    for (const char* name : {"KJV.DAT", "kjv.dat", "none.dat", "missing/개역.DAT"}) {
        EXPECT_EQ(resolveFileNameCase(path(QString::fromUtf8(name))), path(QString::fromUtf8(name)));
    }
}

TEST(DeriveKey, matchesThePublishedPbkdf2Sha256Vectors)
{
    // A key of two blocks of the derivation, from a password and salt longer than one.
    EXPECT_EQ(deriveKey("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40).toHex(),
              QByteArray("348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9"));
}
