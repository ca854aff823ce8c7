// Version files: where they are found, their password, bad input, exclusive use and what a killed writer leaves.

#include "support/InstallTreeTest.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/Repair.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <array>
#include <cstdio>
#include <sqlite3.h>
#include <thread>
#ifndef Q_OS_WIN // the files a commit makes are watched with inotify
#include <sys/inotify.h>
#endif
#include <unistd.h>

using namespace versiondb;
using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

using openDatabase = InstallTreeTest;

#ifndef Q_OS_WIN // Windows renames over no open file, and its file names are alike in any letter case
// SQLite's default file system wrapped: the next `left` opens of v.dat have r.dat's copy renamed over it at once.
class ReplacedFile : public InstallTreeTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(isValid());
        s_test = this;
        m_vfs = *m_base;
        m_vfs.zName = "replacing";
        m_vfs.xOpen = &openReplacing;
        ASSERT_EQ(sqlite3_vfs_register(&m_vfs, 1), SQLITE_OK);
    }
    void TearDown() override
    {
        sqlite3_vfs_register(m_base, 1);
        sqlite3_vfs_unregister(&m_vfs);
    }
    static int openReplacing(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* handle, int flags, int* outFlags)
    {
        ReplacedFile& t = *s_test;
        const int rc = t.m_base->xOpen(t.m_base, name, handle, flags, outFlags);
        const QString next = t.file + u".next"_s;
        if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) && t.left > 0 &&
            QFileInfo(QString::fromUtf8(name)) == QFileInfo(t.file) && QFile::copy(t.replacement, next) &&
            std::rename(QFile::encodeName(next).constData(), QFile::encodeName(t.file).constData()) == 0) {
            --t.left;
        }
        return rc;
    }

    const QString file = makeVersion(u"v.dat"_s, 2), replacement = makeVersion(u"r.dat"_s, 3);
    int left = 0;

private:
    static inline ReplacedFile* s_test = nullptr;
    sqlite3_vfs* m_base = sqlite3_vfs_find(nullptr);
    sqlite3_vfs m_vfs{};
};
#endif

} // namespace

TEST_F(openDatabase, badInputFailsWithItsErrorAndChangesNothing)
{
    ASSERT_TRUE(QDir(installFolder()).mkdir(u"x.dat"_s));
    const QString notVersion = writeFile(u"other.dat"_s, {});
    (void)sql(notVersion, "CREATE TABLE \"본문\" (a, b); INSERT INTO \"본문\" VALUES (1, 2)");
    const QString truncated = makeVersion(u"truncated.dat"_s, 2000);
    ASSERT_TRUE(QFile(truncated).resize(QFile(truncated).size() / 2));
    const auto readOnly = [](const QString& file) {
        return QFile::setPermissions(file, QFileDevice::ReadOwner) ? file : QString();
    };
    const std::tuple<const char*, QString, int> cases[] = {
        {"missing file", path(u"none.dat"_s), errorNumber::FileNotFound},
        {"folder", path(u"x.dat"_s), errorNumber::InvalidPath},
        {"SQLite file not a version", notVersion, errorNumber::UnrecognizedFormat},
        {"the password in other letters", makeVersion(u"case.dat"_s, 2), errorNumber::InvalidPassword},
        {"truncated", truncated, errorNumber::DatabaseDamaged},
        {"read-only", readOnly(makeVersion(u"ro.dat"_s, 2)), errorNumber::ReadOnly},
        {"read-only text file: the format is checked first", readOnly(writeFile(u"ro-text.dat"_s, "창 1:1 태초에\r\n")),
         errorNumber::UnrecognizedFormat},
    };
    for (const auto& [name, file, expected] : cases) {
        SCOPED_TRACE(name);
        const auto state = [&] { return std::pair(bytes(file), installEntries()); };
        const auto before = state();
        const QString connect = file.endsWith(u"case.dat"_s) ? u";pwd=brackwind4417"_s : passwordConnect();
        EXPECT_EQ(errorOf([&] { (void)VersionStore::openDatabase(file, VersionStore::Hold::Write, connect); }),
                  expected);
        EXPECT_EQ(state(), before);
    }
}

// A second open fails as in use until the first closes, leaving no side file; an open removes killed runs' work files.
TEST_F(openDatabase, anOpenFileIsInUseAndClosingLeavesItAloneAndSound)
{
    const QString file = makeVersion(u"clean.dat"_s, 2);
    for (const auto& suffix : {u".compact-0a1b2c"_s, u".repair-3f"_s, u".repair-3f-journal"_s, u".compact-notes"_s}) {
        write(file + suffix, "left by a killed run");
    }
    auto db = VersionStore::openDatabase(file);
    EXPECT_EQ(errorOf([&] { (void)VersionStore::openDatabase(file); }), errorNumber::FileInUse);
    db->close();
    VersionStore::openDatabase(file).reset();
    EXPECT_EQ(installEntries(), (QStringList{u"clean.dat"_s, u"clean.dat.compact-notes"_s}));
    EXPECT_EQ(sql(file, u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_FALSE(bytes(file).contains("Brackwind4417") || bytes(file).contains(QByteArray("Brackwind4417").toHex()));
    EXPECT_NE(bytes(makeVersion(u"a.dat"_s, 0)), bytes(makeVersion(u"b.dat"_s, 0)));
}

// A crashed file of the release that kept a write-ahead log keeps its records and becomes one rollback-journal file.
TEST_F(openDatabase, aFileWithAWriteAheadLogKeepsItsRecordsAndBecomesOneFile)
{
    const QString file = makeVersion(u"old.dat"_s, 40, Texts::EveryThird), copy = path(u"copy.dat"_s);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    const char* logged = "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                         "UPDATE 본문 SET 본문 = 'log ' || 번호 WHERE 번호 > 20;";
    ASSERT_EQ(sqlite3_exec(db, logged, nullptr, nullptr, nullptr), SQLITE_OK);
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s}) {
        ASSERT_TRUE(QFile::copy(file + suffix, copy + suffix));
    }
    sqlite3_close(db);
    ASSERT_EQ(bytes(copy).mid(18, 2), QByteArray("\x02\x02", 2));
    const QList<StoredRecord> expected = storedRecords(file);
    ASSERT_EQ(expected.at(29).text, QVariant(u"log 30"_s));
    EXPECT_EQ(storedRecords(copy), expected);
    EXPECT_EQ(bytes(copy).mid(18, 2), QByteArray("\x01\x01", 2));
    EXPECT_EQ(installEntries(), (QStringList{u"copy.dat"_s, u"old.dat"_s}));
}

// While another process holds the file, an open or a repair fails as in use and changes nothing.
TEST_F(openDatabase, anotherProcessHoldsTheFileAndAKilledWriterLeavesEveryReturnedUpdateInASoundFile)
{
    const QString file = makeVersion(u"crash.dat"_s, 0);
    const auto start = [&](QProcess& child, const QStringList& arguments) {
        child.start(testBinFolder() + u"/versiondb-test-child"_s, arguments);
        return child.waitForStarted(10000);
    };
    QProcess holder;
    ASSERT_TRUE(start(holder, {u"hold"_s, file}) && holder.waitForReadyRead(10000) &&
                holder.readLine().trimmed() == "open");
    const QByteArray before = bytes(file);
    EXPECT_EQ(errorOf([&] { (void)VersionStore::openDatabase(file); }), errorNumber::FileInUse);
    EXPECT_EQ(errorOf([&] { (void)repairDatabase(file); }), errorNumber::FileInUse);
    EXPECT_EQ(bytes(file), before);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000) && holder.exitCode() == 0);
    QSet<int> reported;
    int next = 1;
    SCOPED_TRACE("BYEORISOL_TEST_SEED=" + std::to_string(testSeed()));
    QRandomGenerator random(testSeed());
    for (int round = 0; round < 4; ++round) {
        QProcess child;
        ASSERT_TRUE(start(child, {u"store"_s, file, QString::number(next)}));
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
        const QList<StoredRecord> stored = storedRecords(file);
        for (const int n : reported) {
            const auto r = std::ranges::find(stored, QVariant(n), &StoredRecord::number);
            EXPECT_TRUE(r != stored.end() && r->reference == u"창 %1:1"_s.arg(n) &&
                        r->book == (n % 3 ? QVariant() : n % 66 + 1) &&
                        r->text == u"본문 %1 "_s.arg(n).repeated(1 + n % 9))
                << n;
        }
        EXPECT_EQ(sql(file, u"PRAGMA integrity_check"_s), u"ok"_s);
        EXPECT_EQ(installEntries(), QStringList{u"crash.dat"_s});
    }
    EXPECT_GT(reported.size(), 40);
}

#ifndef Q_OS_WIN
// A copy of another file's records commits in this file alone, leaving no super-journal to a kill.
TEST_F(openDatabase, aCopyFromAnotherFileCommitsWithoutASuperJournal)
{
    const QString source = makeVersion(u"source.dat"_s, 5), target = makeVersion(u"target.dat"_s, 0);
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(installFolder()).constData(), IN_CREATE), 0);
    VersionStore::openDatabase(target)->copySkeleton(source);
    QStringList created;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
        for (char* e = events; e < events + n; e += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(e)->len) {
            created << QString::fromUtf8(reinterpret_cast<inotify_event*>(e)->name);
        }
    }
    close(watch);
    EXPECT_EQ(created, QStringList{u"target.dat-journal"_s});
    EXPECT_EQ(storedRecords(target), storedRecords(source));
}

// The reference version is found whatever the case of its name, an exact match first.
TEST_F(openDatabase, fileNamesResolveWithoutRegardToLetterCase)
{
    for (const char* name : {"개역.Dat", "kjv.dat", "KJV.DAT"}) {
        (void)writeFile(QString::fromUtf8(name), {});
    }
    EXPECT_EQ(referenceVersionPath(programFolder()), programFolder() + u"/../개역.Dat"_s);
    for (const char* name : {"KJV.DAT", "kjv.dat", "none.dat", "missing/개역.DAT"}) {
        EXPECT_EQ(resolveFileNameCase(path(QString::fromUtf8(name))), path(QString::fromUtf8(name)));
    }
}

#endif

TEST(DeriveKey, matchesThePublishedPbkdf2Sha256Vectors)
{
    // A key of two blocks of the derivation, from a password and salt longer than one.
    EXPECT_EQ(deriveKey("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40).toHex(),
              QByteArray("348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9"));
}

// The main window's list and a run's worker open versions at once: verifiers match on many threads together.
TEST(PasswordVerifier, matchesOnManyThreadsAtOnce)
{
    std::array<int, 4> matched{};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &matched] {
            for (int i = 0; i < 20000; ++i) {
                const QByteArray salt = QByteArray::number(t) + ':' + QByteArray::number(i);
                const PasswordVerifier verifier{salt, 1, deriveKey("pw", salt, 1, 32)};
                matched[t] += verifier.matches(u"pw"_s) && verifier.matches(u"pw"_s) && !verifier.matches(u"x"_s);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(matched, (std::array{20000, 20000, 20000, 20000}));
}

#ifndef Q_OS_WIN
// An open of a replaced file opens again, the save landing in the file the path names; one always replaced is in use.
TEST_F(ReplacedFile, anOpenTriesAgainOnTheReplacementAndGivesUpAsInUse)
{
    left = 100;
    EXPECT_EQ(errorOf([&] { (void)VersionStore::openDatabase(file); }), errorNumber::FileInUse);
    EXPECT_LT(left, 99);
    QList<StoredRecord> expected = storedRecords(replacement);
    expected[0].text = u"저장한 본문"_s;
    left = 1;
    auto version = VersionStore::openDatabase(file);
    version->setText(version->seek(qint64(1)).value_or(0), u"저장한 본문"_s);
    version.reset();
    EXPECT_EQ(left, 0);
    EXPECT_EQ(storedRecords(file), expected);
    EXPECT_EQ(installEntries(), (QStringList{u"r.dat"_s, u"v.dat"_s}));
}
#endif
