// Opening version files: the errors of bad input, exclusive use within the process and
// across processes, what a closed file leaves behind, and what a killed writer leaves.

#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/SideFiles.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <functional>

using namespace versiondb;
using testsupport::bytes;
using testsupport::errorOf;

namespace {

class OpenDatabase : public testsupport::InstallTreeTest
{
public:
    std::unique_ptr<Database> open(const QString& file, const QString& connect = passwordConnect())
    {
        return DBEngine::instance().OpenDatabase(file, true, false, connect);
    }
    void start(QProcess& child, const QStringList& arguments)
    {
        child.start(testsupport::testBinFolder() + QStringLiteral("/versiondb-test-child"), arguments);
        ASSERT_TRUE(child.waitForStarted(10000));
    }
};

QString readOnly(const QString& file)
{
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return file;
}

} // namespace

TEST_F(OpenDatabase, badInputFailsWithItsErrorAndChangesNothing)
{
    using T = OpenDatabase;
    const std::vector<std::tuple<const char*, int, std::function<QString(T&, QString & connect)>>> cases = {
        {"missing file", errorNumber::FileNotFound, [](T& t, QString&) { return t.path("none.dat"); }},
        {"folder named x.dat", errorNumber::InvalidPath,
         [](T& t, QString&) { return QDir(t.installFolder()).mkdir("x.dat") ? t.path("x.dat") : QString(); }},
        {"zero-byte file", errorNumber::UnrecognizedFormat, [](T& t, QString&) { return t.writeFile("0.dat", {}); }},
        {"SQLite file that is not a version database", errorNumber::UnrecognizedFormat,
         [](T& t, QString&) {
             const QString p = t.writeFile("other.dat", {});
             (void)testsupport::sql(p, "CREATE TABLE \"본문\" (a, b); INSERT INTO \"본문\" VALUES (1, 2)");
             return p;
         }},
        {"version database with another password", errorNumber::InvalidPassword,
         [](T& t, QString&) {
             PasswordVerifier v{QByteArray("0123456789abcdef"), 100, {}};
             v.key = deriveKey(QByteArray("Another1"), v.salt, v.iterations, 32);
             VersionFile::create(t.path("other-password.dat"), v);
             return t.path("other-password.dat");
         }},
        {"the password in other letters", errorNumber::InvalidPassword,
         [](T& t, QString& connect) {
             connect = QStringLiteral(";pwd=brackwind4417");
             return t.makeVersion("case.dat", 2);
         }},
        {"truncated version file", errorNumber::DatabaseDamaged,
         [](T& t, QString&) {
             const QString p = t.makeVersion("truncated.dat", 2000);
             return QFile(p).resize(QFile(p).size() / 2) ? p : QString();
         }},
        {"read-only file", errorNumber::ReadOnly, [](T& t, QString&) { return readOnly(t.makeVersion("ro.dat", 2)); }},
        {"read-only text file: the format is checked first", errorNumber::UnrecognizedFormat,
         [](T& t, QString&) { return readOnly(t.writeFile("ro-text.dat", "창 1:1 태초에\r\n")); }},
    };
    for (const auto& [name, expected, prepare] : cases) {
        SCOPED_TRACE(name);
        QString connect = passwordConnect();
        const QString file = prepare(*this, connect);
        const QByteArray before = bytes(file);
        const QStringList listing = installEntries();
        EXPECT_EQ(errorOf([&] { (void)open(file, connect); }), expected);
        EXPECT_EQ(bytes(file), before);
        EXPECT_EQ(installEntries(), listing);
        const Errors& errors = DBEngine::instance().errors();
        ASSERT_EQ(errors.Count(), 1);
        EXPECT_EQ(errors.Item(0).Number, expected);
        EXPECT_EQ(errors.Item(0).Description, errorDescription(expected));
    }
}

// A second open fails at once as in use; closing, or destroying, a database closes its
// record sets, releases the file and leaves no side file.
TEST_F(OpenDatabase, anOpenFileIsInUseAndClosingLeavesItAloneAndSound)
{
    const QString file = makeVersion(QStringLiteral("clean.dat"), 2);
    auto db = open(file);
    EXPECT_EQ(errorOf([&] { (void)open(file); }), errorNumber::FileInUse);
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("성경구절"));
    rs->Seek(QStringLiteral("="), QStringLiteral("창 1:2"));
    rs->Edit();
    rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("땅이 혼돈하고"));
    rs->Update();
    db->Close();
    EXPECT_FALSE(rs->isOpen());
    EXPECT_EQ(errorOf([&] { rs->MoveFirst(); }), errorNumber::ObjectClosed);
    EXPECT_EQ(errorOf([&] { (void)db->OpenRecordset(QStringLiteral("본문")); }), errorNumber::ObjectClosed);
    EXPECT_EQ(installEntries(), QStringList{QStringLiteral("clean.dat")});
    EXPECT_EQ(testsupport::integrityOf(file), QStringLiteral("ok"));
    EXPECT_EQ(testsupport::storedText(file, QStringLiteral("창 1:2")), QVariant(QStringLiteral("땅이 혼돈하고")));

    db = open(file);
    rs = db->OpenRecordset(QStringLiteral("본문"));
    db.reset();
    EXPECT_EQ(errorOf([&] { (void)rs->RecordCount(); }), errorNumber::ObjectClosed);
    EXPECT_EQ(installEntries(), QStringList{QStringLiteral("clean.dat")});
    EXPECT_TRUE(open(file)->isOpen());
}

// The file keeps a salted verifier, never the password.
TEST_F(OpenDatabase, fileKeepsItsOwnSaltedVerifierNotThePassword)
{
    const QByteArray a = bytes(makeVersion(QStringLiteral("a.dat"), 0));
    EXPECT_FALSE(a.contains("Brackwind4417"));
    EXPECT_FALSE(a.contains(QByteArray("Brackwind4417").toHex()));
    EXPECT_NE(bytes(makeVersion(QStringLiteral("b.dat"), 0)), a);
    EXPECT_EQ(passwordOf(QStringLiteral("uid=x;PWD=a b;x=y")), QStringLiteral("a b"));
}

// A file of the release that kept a write-ahead log, left with committed records in its log as a
// crash leaves it: they are all there, and after its first open and close the file is one file
// whose header says rollback journal.
TEST_F(OpenDatabase, aFileWithAWriteAheadLogKeepsItsRecordsAndBecomesOneFile)
{
    const QString file = makeVersion(QStringLiteral("old.dat"), 40, testsupport::Texts::EveryThird);
    const QString copy = path(QStringLiteral("copy.dat"));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                               "UPDATE \"본문\" SET \"본문\" = 'log ' || \"번호\" WHERE \"번호\" > 20;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        // Copied while the log holds the update: the copy is a file whose writer was killed.
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            ASSERT_TRUE(QFile::copy(file + suffix, copy + suffix)) << suffix.toStdString();
        }
        sqlite3_close(db);
    }
    ASSERT_EQ(bytes(copy).mid(18, 2), QByteArray("\x02\x02", 2));
    const testsupport::Records expected = testsupport::read(file).value();
    ASSERT_EQ(expected.at(30).second, QVariant(QStringLiteral("log 30")));
    EXPECT_EQ(testsupport::read(copy), expected);
    EXPECT_EQ(bytes(copy).mid(18, 2), QByteArray("\x01\x01", 2));
    EXPECT_EQ(testsupport::integrityOf(copy), QStringLiteral("ok"));
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("copy.dat"), QStringLiteral("old.dat")}));
}

TEST_F(OpenDatabase, aFileHeldByAnotherProcessFailsAtOnceAsInUseUntilItIsReleased)
{
    const QString file = makeVersion(QStringLiteral("held.dat"), 5);
    QProcess child;
    start(child, {QStringLiteral("hold"), file});
    ASSERT_TRUE(child.waitForReadyRead(10000));
    ASSERT_EQ(child.readLine().trimmed(), QByteArray("open"));
    const QByteArray before = testsupport::bytes(file);
    EXPECT_EQ(errorOf([&] { (void)open(file); }), errorNumber::FileInUse);
    EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(file); }), errorNumber::FileInUse);
    EXPECT_EQ(testsupport::bytes(file), before);
    child.closeWriteChannel();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(open(file)->OpenRecordset(QStringLiteral("본문"))->RecordCount(), 5);
}

TEST_F(OpenDatabase, aKilledWriterLeavesEveryReturnedUpdateInASoundFile)
{
    const QString file = makeVersion(QStringLiteral("crash.dat"), 0);
    QSet<int> reported;
    int next = 1;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        QProcess child;
        start(child, {QStringLiteral("store"), file, QString::number(next)});
        // Let it write for a random while, then kill it wherever it is.
        const int wanted = QRandomGenerator::global()->bounded(20, 400);
        QByteArray output;
        while (output.count('\n') < wanted && child.state() == QProcess::Running) {
            child.waitForReadyRead(1000);
            output += child.readAllStandardOutput();
        }
        QThread::usleep(QRandomGenerator::global()->bounded(3000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        output += child.readAllStandardOutput();
        for (const QByteArray& line : output.split('\n')) {
            bool ok = false;
            const int n = line.toInt(&ok);
            ASSERT_TRUE(ok || line.isEmpty()) << line.toStdString();
            if (ok) {
                reported.insert(n);
                next = std::max(next, n + 1);
            }
        }
        // A record whose report was cut off may be stored too: the next round starts after it.
        ++next;

        auto db = open(file);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        const auto value = [&](const char* name) { return rs->Fields(QString::fromUtf8(name)).Value(); };
        for (const int n : reported) {
            rs->Seek(QStringLiteral("="), n);
            ASSERT_FALSE(rs->NoMatch()) << n;
            EXPECT_EQ(value("성경구절"), QVariant(QStringLiteral("창 %1:1").arg(n)));
            EXPECT_EQ(value("본문"), QVariant(QStringLiteral("본문 %1 ").arg(n).repeated(1 + n % 9)));
            EXPECT_EQ(value("권"), n % 3 == 0 ? QVariant(n % 66 + 1) : QVariant());
        }
        db->Close();
        EXPECT_EQ(testsupport::integrityOf(file), QStringLiteral("ok"));
        // Once opened and closed again, the version is one file.
        for (const QString& side : sideFilePaths(file)) {
            EXPECT_FALSE(QFile::exists(side)) << side.toStdString();
        }
    }
    EXPECT_GT(reported.size(), 40);
}
