// Compaction and repair of version files.

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

using namespace versiondb;
using testsupport::bytes;
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

// After a repair the file opens with the password, passes the integrity check, has
// both indexes, holds every record that could be read with its values, keeps its
// password verifier unless that was damaged, and is alone in its folder. A file
// whose table is gone raises errors and is left as it was. A symbolic link is
// repaired in the file it points to and stays a link.
TEST_F(CompactRepair, repairBringsBackEveryReadableRecordOrLeavesTheFileAsItWas)
{
    enum class Kept
    {
        Every,
        AllButOne, // the record whose last byte was cut off
        Most,
        Nothing, // the repair fails
    };
    struct Damage
    {
        const char* name;
        Kept kept;
        std::function<void(const QString&)> apply;
        bool verifierKept = true;
        bool throughLink = false;
    };
    const auto leafPage = [](const QString& file) {
        const qint64 page = sql(file, "SELECT pageno FROM dbstat WHERE name = '본문' AND pagetype = 'leaf' "
                                      "ORDER BY pageno LIMIT 1 OFFSET 20")
                                .toLongLong();
        ASSERT_GT(page, 1);
        overwrite(file, (page - 1) * sql(file, "PRAGMA page_size").toLongLong(), QByteArray(48, '\xee'));
    };
    const std::vector<Damage> damages = {
        {"none", Kept::Every, [](const QString&) {}},
        {"indexes", Kept::Every,
         [](const QString& file) {
             // Each index's pages now hold the other index's entries.
             (void)sql(file, "PRAGMA writable_schema=ON;"
                             "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema WHERE type = 'index';"
                             "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
                             "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';");
         }},
        {"index 성경구절 dropped", Kept::Every,
         [](const QString& file) { (void)sql(file, "DROP INDEX \"성경구절\""); }},
        {"a leaf page of the table", Kept::Most, leafPage},
        {"a leaf page of the table, through a link", Kept::Most, leafPage, true, true},
        {"the table's root, an interior page", Kept::Every,
         [](const QString& file) {
             // Everything below it is lost to the tree, not to the salvage.
             const qint64 root = sql(file, "SELECT rootpage FROM sqlite_schema WHERE name = '본문'").toLongLong();
             const qint64 pageSize = sql(file, "PRAGMA page_size").toLongLong();
             ASSERT_GT(root, 1);
             overwrite(file, (root - 1) * pageSize, QByteArray(static_cast<int>(pageSize), '\x5a'));
         }},
        // The first page keeps the file header but loses the list of tables and indexes.
        {"the schema page", Kept::Every, [](const QString& file) { overwrite(file, 100, QByteArray(300, '\x33')); }},
        {"cut short by one byte", Kept::AllButOne,
         [](const QString& file) {
             QFile f(file);
             ASSERT_TRUE(f.resize(f.size() - 1));
         }},
        {"password verifier", Kept::Every,
         [](const QString& file) { (void)sql(file, "UPDATE byeorisol_password SET verifier = randomblob(32)"); },
         false},
        {"table dropped", Kept::Nothing,
         [](const QString& file) { (void)sql(file, "PRAGMA secure_delete=ON; DROP TABLE \"본문\""); }},
    };
    const int count = 1500;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        QDir(installFolder()).mkdir(QStringLiteral("store"));
        const QString file = makeVersion(QStringLiteral("store/mine.dat"), count, testsupport::Texts::EveryThird);
        const QString chosen = damage.throughLink ? path(QStringLiteral("mine.dat")) : file;
        if (damage.throughLink) {
            ASSERT_TRUE(QFile::link(QStringLiteral("store/mine.dat"), chosen));
        }
        const testsupport::Records before = read(file).value();
        const QString verifier = sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password");
        damage.apply(file);
        const QByteArray damaged = bytes(file);

        const int error = errorOf([&] { DBEngine::instance().RepairDatabase(chosen); });

        EXPECT_EQ(QFileInfo(chosen).isSymLink(), damage.throughLink);
        EXPECT_EQ(installEntries(), damage.throughLink
                                        ? (QStringList{QStringLiteral("mine.dat"), QStringLiteral("store")})
                                        : QStringList{QStringLiteral("store")});
        EXPECT_EQ(QDir(path(QStringLiteral("store"))).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("mine.dat")});
        if (damage.kept == Kept::Nothing) {
            EXPECT_EQ(error, errorNumber::NoSuchTable);
            const Errors& errors = DBEngine::instance().errors();
            ASSERT_EQ(errors.Count(), 2);
            EXPECT_EQ(errors.Item(1).Number, errorNumber::DatabaseDamaged);
            EXPECT_EQ(bytes(file), damaged);
        } else {
            EXPECT_EQ(error, 0);
            EXPECT_EQ(integrityOf(file), QStringLiteral("ok"));
            EXPECT_EQ(sql(file, "SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_schema "
                                "WHERE type = 'index' AND tbl_name = '본문' ORDER BY name)"),
                      QStringLiteral("번호,성경구절"));
            const std::optional<testsupport::Records> read_ = read(chosen);
            EXPECT_TRUE(read_.has_value());
            const testsupport::Records after = read_.value_or(testsupport::Records{});
            if (damage.kept == Kept::Every) {
                EXPECT_EQ(after, before);
            } else {
                EXPECT_GE(static_cast<int>(after.size()), damage.kept == Kept::AllButOne ? count - 1 : count * 9 / 10);
                EXPECT_LT(static_cast<int>(after.size()), damage.kept == Kept::AllButOne ? count + 1 : count);
                for (const auto& [number, values] : after) {
                    EXPECT_EQ(values, before.at(number)) << number;
                }
            }
            if (damage.verifierKept) {
                EXPECT_EQ(sql(file, "SELECT hex(salt) || hex(verifier) FROM byeorisol_password"), verifier);
            }
        }
        QFile::remove(path(QStringLiteral("mine.dat")));
        ASSERT_TRUE(QDir(path(QStringLiteral("store"))).removeRecursively());
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
