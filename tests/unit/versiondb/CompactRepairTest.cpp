// Compaction and repair of version files.

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"

#include <QFile>
#include <functional>

using testsupport::bytes;
using namespace versiondb;
using testsupport::errorOf;
using testsupport::integrityOf;
using testsupport::read;
using testsupport::sql;

namespace {

class CompactRepair : public testsupport::InstallTreeTest
{};

void overwrite(const QString& file, qint64 offset, const QByteArray& with)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(offset));
    ASSERT_EQ(f.write(with), with.size());
}

} // namespace

TEST_F(CompactRepair, compactionWritesACompleteCopyThatOpensWithTheSameConnectString)
{
    const QString source = makeVersion(QStringLiteral("mine.dat"), 600, testsupport::Texts::EveryThird);
    const auto before = read(source);
    const QString scratch = path(QStringLiteral("temp.mdb"));
    DBEngine::instance().CompactDatabase(source, scratch, passwordConnect());
    EXPECT_EQ(read(scratch), before);
    EXPECT_EQ(read(source), before);
    EXPECT_EQ(integrityOf(scratch), QStringLiteral("ok"));
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("mine.dat"), QStringLiteral("temp.mdb")}));
}

// An existing destination, another password, a source in use: an error, and nothing written or changed.
TEST_F(CompactRepair, aRefusedCompactionChangesNothing)
{
    const QString source = makeVersion(QStringLiteral("mine.dat"), 30, testsupport::Texts::EveryThird);
    const QString scratch = path(QStringLiteral("temp.mdb"));
    const QByteArray sourceBytes = bytes(source);
    const auto compact = [&](const QString& connect) {
        return errorOf([&] { DBEngine::instance().CompactDatabase(source, scratch, connect); });
    };
    EXPECT_EQ(compact(QStringLiteral(";pwd=x")), errorNumber::InvalidPassword);
    {
        auto held = DBEngine::instance().OpenDatabase(source, true, false, passwordConnect());
        EXPECT_EQ(compact(passwordConnect()), errorNumber::FileInUse);
    }
    EXPECT_EQ(installEntries(), QStringList{QStringLiteral("mine.dat")});
    QFile f(scratch);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old scratch");
    f.close();
    EXPECT_EQ(compact(passwordConnect()), errorNumber::DatabaseExists);
    EXPECT_EQ(bytes(scratch), QByteArray("old scratch"));
    EXPECT_EQ(bytes(source), sourceBytes);
}

// After a repair the file passes the integrity check, holds every record that
// could be read with its values, keeps its password verifier, and is alone in its folder.
TEST_F(CompactRepair, repairBringsBackEveryReadableRecord)
{
    struct Damage
    {
        const char* name;
        bool everyRecord;
        std::function<void(const QString&)> apply;
    };
    const std::vector<Damage> damages = {
        {"none", true, [](const QString&) {}},
        {"indexes", true,
         [](const QString& file) {
             // Each index's pages now hold the other index's entries.
             (void)sql(file, "PRAGMA writable_schema=ON;"
                             "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema WHERE type = 'index';"
                             "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
                             "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';");
         }},
        {"a leaf page of the table", false,
         [](const QString& file) {
             const qint64 page = sql(file, "SELECT pageno FROM dbstat WHERE name = '본문' AND pagetype = 'leaf' "
                                           "ORDER BY pageno LIMIT 1 OFFSET 20")
                                     .toLongLong();
             ASSERT_GT(page, 1);
             overwrite(file, (page - 1) * sql(file, "PRAGMA page_size").toLongLong(), QByteArray(48, '\xee'));
         }},
        {"the table's root, an interior page", true,
         [](const QString& file) {
             // Everything below it is lost to the tree, not to the salvage.
             const qint64 root = sql(file, "SELECT rootpage FROM sqlite_schema WHERE name = '본문'").toLongLong();
             const qint64 pageSize = sql(file, "PRAGMA page_size").toLongLong();
             ASSERT_GT(root, 1);
             overwrite(file, (root - 1) * pageSize, QByteArray(static_cast<int>(pageSize), '\x5a'));
         }},
        // The first page keeps the file header but loses the list of tables and indexes.
        {"the schema page", true, [](const QString& file) { overwrite(file, 100, QByteArray(300, '\x33')); }},
    };
    const int count = 1500;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        const QString file = makeVersion(QStringLiteral("mine.dat"), count, testsupport::Texts::EveryThird);
        const testsupport::Records before = read(file).value();
        const QString verifier = sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password");
        damage.apply(file);

        DBEngine::instance().RepairDatabase(file);

        EXPECT_EQ(integrityOf(file), QStringLiteral("ok"));
        const testsupport::Records after = read(file).value();
        if (damage.everyRecord) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_GT(static_cast<int>(after.size()), count * 9 / 10);
            EXPECT_LT(static_cast<int>(after.size()), count);
            for (const auto& [number, values] : after) {
                EXPECT_EQ(values, before.at(number)) << number;
            }
        }
        EXPECT_EQ(sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password"), verifier);
        EXPECT_EQ(installEntries(), QStringList{QStringLiteral("mine.dat")});
        ASSERT_TRUE(QFile::remove(file));
    }
}

TEST_F(CompactRepair, aFileWithNothingToSalvageRaisesErrorsAndIsLeftAsItWas)
{
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"text file", QByteArray("창 1:1 태초에\r\n").repeated(400)},
        {"zero-byte file", QByteArray()},
        {"bytes of nothing", QByteArray(9000, '\0')},
    };
    const QString file = path(QStringLiteral("broken.dat"));
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(file); }), errorNumber::UnrecognizedFormat);
        const Errors& errors = DBEngine::instance().errors();
        ASSERT_EQ(errors.Count(), 2);
        EXPECT_EQ(errors.Item(0).Number, errorNumber::UnrecognizedFormat);
        EXPECT_EQ(errors.Item(1).Number, errorNumber::DatabaseDamaged);
        EXPECT_EQ(bytes(file), content);
        EXPECT_EQ(installEntries(), QStringList{QStringLiteral("broken.dat")});
    }
    EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(path(QStringLiteral("none.dat"))); }),
              errorNumber::FileNotFound);
}
