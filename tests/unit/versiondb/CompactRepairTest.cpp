// Compaction and repair of version files.

#include "VersionFixture.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QFile>
#include <map>
#include <sqlite3.h>

using namespace versiondb;
using versiondbtest::errorOf;

namespace {

using Records = std::map<int, std::pair<QVariant, QVariant>>; // 번호 -> (성경구절, 본문)

class CompactRepair : public versiondbtest::VersionFixture
{
protected:
    // A version of count records; every third verse has a text, some of them long.
    QString makeFilled(const QString& name, int count)
    {
        const QString file = makeVersion(name, count);
        auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        for (int i = 1; i <= count; i += 3) {
            rs->Seek(QStringLiteral("="), i);
            rs->Edit();
            const QString text =
                i % 2 == 0 ? QStringLiteral("null")
                           : QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1 ").arg(i).repeated(1 + i % 7);
            rs->Fields(QStringLiteral("본문")).setValue(text);
            rs->Update();
        }
        return file;
    }

    static Records read(const QString& file)
    {
        Records out;
        auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        if (rs->RecordCount() == 0) {
            return out;
        }
        rs->MoveFirst();
        while (!rs->Eof()) {
            out[rs->Fields(QStringLiteral("번호")).Value().toInt()] = {rs->Fields(QStringLiteral("성경구절")).Value(),
                                                                       rs->Fields(QStringLiteral("본문")).Value()};
            rs->MoveNext();
        }
        return out;
    }

    static void execRaw(const QString& file, const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    static qint64 queryRaw(const QString& file, const char* sql)
    {
        sqlite3* db = nullptr;
        qint64 result = -1;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
            result = sqlite3_column_int64(stmt, 0);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return result;
    }

    static QString textRaw(const QString& file, const char* sql)
    {
        sqlite3* db = nullptr;
        QString result;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return result;
    }

    static void overwrite(const QString& file, qint64 offset, const QByteArray& with)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(offset));
        ASSERT_EQ(f.write(with), with.size());
    }
};

} // namespace

TEST_F(CompactRepair, compactionWritesACompleteCopyThatOpensWithTheSameConnectString)
{
    const QString source = makeFilled(QStringLiteral("mine.dat"), 600);
    const Records before = read(source);
    const QString scratch = path(QStringLiteral("temp.mdb"));
    DBEngine::instance().CompactDatabase(source, scratch, passwordConnect());
    EXPECT_EQ(read(scratch), before);
    EXPECT_EQ(read(source), before);
    EXPECT_EQ(versiondbtest::integrityOf(scratch), QStringLiteral("ok"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("mine.dat"), QStringLiteral("temp.mdb")}));
}

TEST_F(CompactRepair, compactionRefusesAnExistingDestinationAndChangesNothing)
{
    const QString source = makeFilled(QStringLiteral("mine.dat"), 30);
    const QString scratch = path(QStringLiteral("temp.mdb"));
    {
        QFile f(scratch);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old scratch");
    }
    const QByteArray sourceBytes = bytes(source);
    EXPECT_EQ(errorOf([&] { DBEngine::instance().CompactDatabase(source, scratch, passwordConnect()); }),
              errorNumber::DatabaseExists);
    EXPECT_EQ(bytes(scratch), QByteArray("old scratch"));
    EXPECT_EQ(bytes(source), sourceBytes);
}

TEST_F(CompactRepair, compactionWithAnotherPasswordWritesNothing)
{
    const QString source = makeFilled(QStringLiteral("mine.dat"), 30);
    EXPECT_EQ(errorOf([&] {
                  DBEngine::instance().CompactDatabase(source, path(QStringLiteral("temp.mdb")),
                                                       QStringLiteral(";pwd=x"));
              }),
              errorNumber::InvalidPassword);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("mine.dat")});
}

TEST_F(CompactRepair, compactionOfAFileInUseFails)
{
    const QString source = makeFilled(QStringLiteral("mine.dat"), 30);
    auto held = DBEngine::instance().OpenDatabase(source, true, false, passwordConnect());
    EXPECT_EQ(errorOf([&] {
                  DBEngine::instance().CompactDatabase(source, path(QStringLiteral("temp.mdb")), passwordConnect());
              }),
              errorNumber::FileInUse);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("temp.mdb"))));
}

TEST_F(CompactRepair, repairOfASoundFileKeepsEveryRecord)
{
    const QString file = makeFilled(QStringLiteral("mine.dat"), 200);
    const Records before = read(file);
    DBEngine::instance().RepairDatabase(file);
    EXPECT_EQ(read(file), before);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("mine.dat")});
}

TEST_F(CompactRepair, repairRebuildsDamagedIndexes)
{
    const QString file = makeFilled(QStringLiteral("mine.dat"), 400);
    const Records before = read(file);
    // Each index's pages now hold the other index's entries.
    execRaw(file, "PRAGMA writable_schema=ON;"
                  "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema WHERE type = 'index';"
                  "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
                  "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';");
    ASSERT_NE(versiondbtest::integrityOf(file), QStringLiteral("ok"));
    DBEngine::instance().RepairDatabase(file);
    EXPECT_EQ(versiondbtest::integrityOf(file), QStringLiteral("ok"));
    EXPECT_EQ(read(file), before);
    auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("성경구절"));
    rs->Seek(QStringLiteral("="), QStringLiteral("창 1:321"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields(QStringLiteral("번호")).Value(), QVariant(321));
}

TEST_F(CompactRepair, repairSalvagesEveryReadableRecordOfAFileWithADamagedTablePage)
{
    const int count = 3000;
    const QString file = makeFilled(QStringLiteral("mine.dat"), count);
    const Records before = read(file);
    const qint64 pageSize = queryRaw(file, "PRAGMA page_size");
    // A leaf page of the table in the middle of the file, and how many records it holds.
    const qint64 page = queryRaw(file, "SELECT pageno FROM dbstat WHERE name = '본문' AND pagetype = 'leaf' "
                                       "ORDER BY pageno LIMIT 1 OFFSET 20");
    const qint64 cells =
        queryRaw(file, QStringLiteral("SELECT ncell FROM dbstat WHERE pageno = %1").arg(page).toUtf8().constData());
    ASSERT_GT(page, 1);
    ASSERT_GT(cells, 0);
    overwrite(file, (page - 1) * pageSize, QByteArray(48, '\xee'));
    ASSERT_NE(versiondbtest::integrityOf(file), QStringLiteral("ok"));

    DBEngine::instance().RepairDatabase(file);

    EXPECT_EQ(versiondbtest::integrityOf(file), QStringLiteral("ok"));
    const Records after = read(file);
    EXPECT_GE(static_cast<qint64>(after.size()), count - cells);
    EXPECT_LT(static_cast<int>(after.size()), count);
    for (const auto& [number, values] : after) {
        SCOPED_TRACE(number);
        EXPECT_EQ(values, before.at(number));
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("mine.dat")});
}

TEST_F(CompactRepair, repairSalvagesRecordsBelowADamagedInteriorPage)
{
    const int count = 3000;
    const QString file = makeFilled(QStringLiteral("mine.dat"), count);
    const Records before = read(file);
    const qint64 pageSize = queryRaw(file, "PRAGMA page_size");
    const qint64 root = queryRaw(file, "SELECT rootpage FROM sqlite_schema WHERE name = '본문'");
    ASSERT_GT(root, 1);
    // The table's root page is an interior page: everything below it is lost to the tree.
    overwrite(file, (root - 1) * pageSize, QByteArray(static_cast<int>(pageSize), '\x5a'));

    DBEngine::instance().RepairDatabase(file);

    EXPECT_EQ(versiondbtest::integrityOf(file), QStringLiteral("ok"));
    EXPECT_EQ(read(file), before);
}

TEST_F(CompactRepair, repairSalvagesAFileWhoseSchemaPageIsDamagedAndKeepsItsVerifier)
{
    const QString file = makeFilled(QStringLiteral("mine.dat"), 1000);
    const Records before = read(file);
    const QString verifier = textRaw(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password");
    ASSERT_FALSE(verifier.isEmpty());
    // The first page keeps the file header but loses the list of tables and indexes.
    overwrite(file, 100, QByteArray(300, '\x33'));
    ASSERT_NE(versiondbtest::integrityOf(file), QStringLiteral("ok"));

    DBEngine::instance().RepairDatabase(file);

    EXPECT_EQ(versiondbtest::integrityOf(file), QStringLiteral("ok"));
    EXPECT_EQ(read(file), before);
    EXPECT_EQ(textRaw(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password"), verifier);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("mine.dat")});
}

TEST_F(CompactRepair, aFileWithNothingToSalvageRaisesErrorsAndIsLeftAsItWas)
{
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"text file", QByteArray("창 1:1 태초에\r\n").repeated(400)},
        {"zero-byte file", QByteArray()},
        {"bytes of nothing", QByteArray(9000, '\0')},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        const QString file = path(QStringLiteral("broken.dat"));
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(content);
        }
        EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(file); }), errorNumber::UnrecognizedFormat);
        const Errors& errors = DBEngine::instance().errors();
        ASSERT_EQ(errors.Count(), 2);
        EXPECT_EQ(errors.Item(0).Number, errorNumber::UnrecognizedFormat);
        EXPECT_EQ(errors.Item(1).Number, errorNumber::DatabaseDamaged);
        EXPECT_EQ(bytes(file), content);
        EXPECT_EQ(entries(), QStringList{QStringLiteral("broken.dat")});
    }
}

TEST_F(CompactRepair, repairOfAMissingOrHeldFileFails)
{
    EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(path(QStringLiteral("none.dat"))); }),
              errorNumber::FileNotFound);
    const QString file = makeFilled(QStringLiteral("held.dat"), 10);
    auto held = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
    EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(file); }), errorNumber::FileInUse);
}
