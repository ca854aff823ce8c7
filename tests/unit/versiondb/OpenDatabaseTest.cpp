// Opening version files: the checks in their order, the errors of bad input,
// exclusive use within the process, and what a closed file leaves behind.

#include "VersionFixture.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <sqlite3.h>

using namespace versiondb;
using versiondbtest::errorOf;

namespace {

class OpenDatabase : public versiondbtest::VersionFixture
{
protected:
    std::unique_ptr<Database> open(const QString& file, const QString& connect = passwordConnect())
    {
        return DBEngine::instance().OpenDatabase(file, true, false, connect);
    }
};

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

struct BadInput
{
    const char* name;
    int expected;
    // Prepares the file in the folder and returns its path and the connect string to use.
    std::function<QString(OpenDatabase&, const QString& folder, QString& connect)> prepare;
};

} // namespace

TEST_F(OpenDatabase, opensAVersionFileForWork)
{
    const QString file = makeVersion(QStringLiteral("mine.dat"), 3);
    auto db = open(file);
    ASSERT_TRUE(db->isOpen());
    auto rs = db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Close();
    db->Close();
}

TEST_F(OpenDatabase, badInputFailsWithItsErrorAndChangesNothing)
{
    const std::vector<BadInput> cases = {
        {"missing file", errorNumber::FileNotFound,
         [](OpenDatabase&, const QString& folder, QString&) { return folder + QStringLiteral("/none.dat"); }},
        {"folder named x.dat", errorNumber::InvalidPath,
         [](OpenDatabase&, const QString& folder, QString&) {
             QDir(folder).mkdir(QStringLiteral("x.dat"));
             return folder + QStringLiteral("/x.dat");
         }},
        {"zero-byte file", errorNumber::UnrecognizedFormat,
         [](OpenDatabase&, const QString& folder, QString&) {
             writeFile(folder + QStringLiteral("/empty.dat"), {});
             return folder + QStringLiteral("/empty.dat");
         }},
        {"text file named .dat", errorNumber::UnrecognizedFormat,
         [](OpenDatabase&, const QString& folder, QString&) {
             writeFile(folder + QStringLiteral("/text.dat"), QByteArray("창 1:1 태초에 하나님이\r\n").repeated(50));
             return folder + QStringLiteral("/text.dat");
         }},
        {"SQLite file that is not a version database", errorNumber::UnrecognizedFormat,
         [](OpenDatabase&, const QString& folder, QString&) {
             const QString p = folder + QStringLiteral("/other.dat");
             sqlite3* db = nullptr;
             sqlite3_open(p.toUtf8().constData(), &db);
             sqlite3_exec(db, "CREATE TABLE \"본문\" (a, b); INSERT INTO \"본문\" VALUES (1, 2)", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
             return p;
         }},
        {"version database with another password", errorNumber::InvalidPassword,
         [](OpenDatabase&, const QString& folder, QString&) {
             const QString p = folder + QStringLiteral("/other-password.dat");
             PasswordVerifier v{QByteArray("0123456789abcdef"), 100, {}};
             v.key = deriveKey(QByteArray("Another1"), v.salt, v.iterations, 32);
             VersionFile::create(p, v);
             return p;
         }},
        {"connect string with another password", errorNumber::InvalidPassword,
         [](OpenDatabase& t, const QString&, QString& connect) {
             connect = QStringLiteral(";pwd=brackwind4417");
             return t.makeVersion(QStringLiteral("case.dat"), 2);
         }},
        {"connect string without a password", errorNumber::InvalidPassword,
         [](OpenDatabase& t, const QString&, QString& connect) {
             connect = QString();
             return t.makeVersion(QStringLiteral("nopwd.dat"), 2);
         }},
        {"truncated version file", errorNumber::DatabaseDamaged,
         [](OpenDatabase& t, const QString&, QString&) {
             const QString p = t.makeVersion(QStringLiteral("truncated.dat"), 2000);
             QFile f(p);
             f.resize(f.size() / 2);
             return p;
         }},
        {"read-only file", errorNumber::ReadOnly,
         [](OpenDatabase& t, const QString&, QString&) {
             const QString p = t.makeVersion(QStringLiteral("readonly.dat"), 2);
             QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
             return p;
         }},
        {"read-only text file: the format is checked first", errorNumber::UnrecognizedFormat,
         [](OpenDatabase&, const QString& folder, QString&) {
             const QString p = folder + QStringLiteral("/readonly-text.dat");
             writeFile(p, QByteArray("not a database"));
             QFile::setPermissions(p, QFileDevice::ReadOwner);
             return p;
         }},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.name);
        QString connect = passwordConnect();
        const QString file = c.prepare(*this, folder(), connect);
        const QByteArray before = bytes(file);
        const QStringList listing = entries();
        EXPECT_EQ(errorOf([&] { (void)open(file, connect); }), c.expected);
        EXPECT_EQ(bytes(file), before);
        EXPECT_EQ(entries(), listing);
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
    EXPECT_EQ(DBEngine::instance().errors().Item(0).Number, errorNumber::FileInUse);
    first->Close();
    auto again = open(file);
    EXPECT_TRUE(again->isOpen());
}

TEST_F(OpenDatabase, closeLeavesNoSideFile)
{
    const QString file = makeVersion(QStringLiteral("clean.dat"), 2);
    {
        auto db = open(file);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("성경구절"));
        rs->Seek(QStringLiteral("="), QStringLiteral("창 1:2"));
        rs->Edit();
        rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("땅이 혼돈하고"));
        rs->Update();
        rs->Close();
        db->Close();
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("clean.dat")});
    EXPECT_EQ(versiondbtest::integrityOf(file), QStringLiteral("ok"));
}

TEST_F(OpenDatabase, destroyingAnOpenDatabaseClosesItAndItsRecordsets)
{
    const QString file = makeVersion(QStringLiteral("scoped.dat"), 2);
    std::unique_ptr<Recordset> rs;
    {
        auto db = open(file);
        rs = db->OpenRecordset(QStringLiteral("본문"));
    }
    EXPECT_FALSE(rs->isOpen());
    EXPECT_EQ(errorOf([&] { (void)rs->RecordCount(); }), errorNumber::ObjectClosed);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("scoped.dat")});
    auto again = open(file);
    EXPECT_TRUE(again->isOpen());
}

TEST_F(OpenDatabase, fileKeepsAVerifierNotThePassword)
{
    const QString file = makeVersion(QStringLiteral("secret.dat"), 1);
    const QByteArray content = bytes(file);
    EXPECT_FALSE(content.contains("Brackwind4417"));
    EXPECT_FALSE(content.contains(QStringLiteral("Brackwind4417").toUtf8().toHex()));
}

TEST_F(OpenDatabase, everyVersionFileHasItsOwnSalt)
{
    const QString a = makeVersion(QStringLiteral("a.dat"), 0);
    const QString b = makeVersion(QStringLiteral("b.dat"), 0);
    EXPECT_NE(bytes(a), bytes(b));
}

TEST(PasswordConnect, isThePasswordConnectString)
{
    EXPECT_EQ(passwordConnect(), QStringLiteral(";pwd=Brackwind4417"));
}

TEST(PasswordOf, takesTheTextAfterPwdUpToTheNextSemicolon)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral(";pwd=Brackwind4417"), QStringLiteral("Brackwind4417")},
        {QStringLiteral(";PWD=abc;uid=x"), QStringLiteral("abc")},
        {QStringLiteral("uid=x;pwd=a b"), QStringLiteral("a b")},
        {QStringLiteral(""), QString()},
        {QStringLiteral(";uid=x"), QString()},
    };
    for (const auto& [connect, password] : cases) {
        SCOPED_TRACE(connect.toStdString());
        EXPECT_EQ(passwordOf(connect), password);
    }
}

TEST(DeriveKey, matchesThePublishedPbkdf2Sha256Vectors)
{
    EXPECT_EQ(deriveKey("password", "salt", 1, 32).toHex(),
              QByteArray("120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"));
    EXPECT_EQ(deriveKey("password", "salt", 2, 32).toHex(),
              QByteArray("ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43"));
    EXPECT_EQ(deriveKey("password", "salt", 4096, 32).toHex(),
              QByteArray("c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"));
}
