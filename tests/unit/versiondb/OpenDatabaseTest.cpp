// Opening version files: the checks in their order, the errors of bad input,
// exclusive use within the process, and what a closed file leaves behind.

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <functional>

using testsupport::bytes;
using namespace versiondb;
using testsupport::errorOf;

namespace {

class OpenDatabase : public testsupport::InstallTreeTest
{
protected:
    std::unique_ptr<Database> open(const QString& file, const QString& connect = passwordConnect())
    {
        return DBEngine::instance().OpenDatabase(file, true, false, connect);
    }

public:
    QString write(const QString& name, const QByteArray& content)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        return f.fileName();
    }
};

} // namespace

TEST_F(OpenDatabase, badInputFailsWithItsErrorAndChangesNothing)
{
    struct BadInput
    {
        const char* name;
        int expected;
        // Prepares the file and returns its path; may change the connect string to use.
        std::function<QString(OpenDatabase&, QString& connect)> prepare;
    };
    const auto readOnly = [](const QString& p) {
        QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        return p;
    };
    const std::vector<BadInput> cases = {
        {"missing file", errorNumber::FileNotFound, [](OpenDatabase& t, QString&) { return t.path("none.dat"); }},
        {"folder named x.dat", errorNumber::InvalidPath,
         [](OpenDatabase& t, QString&) {
             QDir(t.installFolder()).mkdir(QStringLiteral("x.dat"));
             return t.path("x.dat");
         }},
        {"zero-byte file", errorNumber::UnrecognizedFormat,
         [](OpenDatabase& t, QString&) { return t.write("0.dat", {}); }},
        {"text file named .dat", errorNumber::UnrecognizedFormat,
         [](OpenDatabase& t, QString&) { return t.write("text.dat", QByteArray("창 1:1 태초에\r\n").repeated(50)); }},
        {"SQLite file that is not a version database", errorNumber::UnrecognizedFormat,
         [](OpenDatabase& t, QString&) {
             const QString p = t.write("other.dat", {});
             (void)testsupport::sql(p, "CREATE TABLE \"본문\" (a, b); INSERT INTO \"본문\" VALUES (1, 2)");
             return p;
         }},
        {"version database with another password", errorNumber::InvalidPassword,
         [](OpenDatabase& t, QString&) {
             PasswordVerifier v{QByteArray("0123456789abcdef"), 100, {}};
             v.key = deriveKey(QByteArray("Another1"), v.salt, v.iterations, 32);
             VersionFile::create(t.path("other-password.dat"), v);
             return t.path("other-password.dat");
         }},
        {"connect string with the password in other letters", errorNumber::InvalidPassword,
         [](OpenDatabase& t, QString& connect) {
             connect = QStringLiteral(";pwd=brackwind4417");
             return t.makeVersion(QStringLiteral("case.dat"), 2);
         }},
        {"truncated version file", errorNumber::DatabaseDamaged,
         [](OpenDatabase& t, QString&) {
             const QString p = t.makeVersion(QStringLiteral("truncated.dat"), 2000);
             QFile(p).resize(QFile(p).size() / 2);
             return p;
         }},
        {"read-only file", errorNumber::ReadOnly,
         [readOnly](OpenDatabase& t, QString&) { return readOnly(t.makeVersion(QStringLiteral("ro.dat"), 2)); }},
        {"read-only text file: the format is checked first", errorNumber::UnrecognizedFormat,
         [readOnly](OpenDatabase& t, QString&) { return readOnly(t.write("ro-text.dat", "not a database")); }},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.name);
        QString connect = passwordConnect();
        const QString file = c.prepare(*this, connect);
        const QByteArray before = bytes(file);
        const QStringList listing = installEntries();
        EXPECT_EQ(errorOf([&] { (void)open(file, connect); }), c.expected);
        EXPECT_EQ(bytes(file), before);
        EXPECT_EQ(installEntries(), listing);
        const Errors& errors = DBEngine::instance().errors();
        ASSERT_EQ(errors.Count(), 1);
        EXPECT_EQ(errors.Item(0).Number, c.expected);
        EXPECT_EQ(errors.Item(0).Description, errorDescription(c.expected));
    }
}

TEST_F(OpenDatabase, secondOpenOfAnOpenFileFailsAtOnceAsInUse)
{
    const QString file = makeVersion(QStringLiteral("held.dat"), 2);
    auto first = open(file);
    EXPECT_EQ(errorOf([&] { (void)open(file); }), errorNumber::FileInUse);
    first->Close();
    EXPECT_TRUE(open(file)->isOpen());
}

// Closing, or destroying, a database closes its record sets and leaves no side file.
TEST_F(OpenDatabase, closingLeavesNoSideFileAndClosesTheRecordsets)
{
    const QString file = makeVersion(QStringLiteral("clean.dat"), 2);
    auto db = open(file);
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

    db = open(file);
    rs = db->OpenRecordset(QStringLiteral("본문"));
    db.reset();
    EXPECT_FALSE(rs->isOpen());
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
}

TEST(PasswordConnect, isThePasswordConnectStringAndPasswordOfReadsIt)
{
    EXPECT_EQ(passwordConnect(), QStringLiteral(";pwd=Brackwind4417"));
    const std::vector<std::pair<QString, QString>> cases = {
        {passwordConnect(), QStringLiteral("Brackwind4417")},
        {QStringLiteral(";PWD=abc;uid=x"), QStringLiteral("abc")},
        {QStringLiteral("uid=x;pwd=a b"), QStringLiteral("a b")},
        {QStringLiteral(";uid=x"), QString()},
    };
    for (const auto& [connect, password] : cases) {
        EXPECT_EQ(passwordOf(connect), password) << connect.toStdString();
    }
}

TEST(DeriveKey, matchesThePublishedPbkdf2Sha256Vectors)
{
    EXPECT_EQ(deriveKey("password", "salt", 1, 32).toHex(),
              QByteArray("120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"));
    EXPECT_EQ(deriveKey("password", "salt", 4096, 32).toHex(),
              QByteArray("c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"));
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
    QStringList left = installEntries();
    left.removeAll(QStringLiteral("old.dat"));
    EXPECT_EQ(left, QStringList{QStringLiteral("copy.dat")});
}
