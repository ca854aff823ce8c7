// Repair, compaction and deletion of version files, with faults made at every step of a compaction.

#include "maintenance/VersionMaintenance.h"

#include "MaintenanceTree.h"
#include "maintenance/FileOperations.h"
#include "maintenance/MaintenanceMessages.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using maintenance::CompactStep;
using maintenance::FileOperations;
using maintenance::VersionMaintenance;
using maintenancetest::MaintenanceTree;
using maintenancetest::Records;

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace maintenance {
inline void PrintTo(CompactStep step, std::ostream* os)
{
    *os << "step " << static_cast<int>(step);
}
} // namespace maintenance

namespace {

// The real operations with one step made to fail, recording what was called.
class FaultyOperations : public FileOperations
{
public:
    std::function<bool(const QString&)> failRemove;
    bool compactFails = false;
    bool compactWritesNothing = false;
    std::function<bool(const QString&)> failCount; // given the path counted
    qint64 countShift = 0;                         // added to the count of a file other than the original
    QString original;
    bool moveFails = false;
    bool moveHalf = false;
    bool flushFails = false;
    bool integrityFails = false;
    bool replaceFails = false;

    std::optional<QString> removeFile(const QString& path) override
    {
        if (failRemove && failRemove(path)) {
            return QStringLiteral("사용 권한이 없습니다.");
        }
        return FileOperations::removeFile(path);
    }
    void compactDatabase(const QString& source, const QString& destination, const QString& connect) override
    {
        if (compactFails) {
            versiondb::raise(versiondb::errorNumber::DiskFull);
        }
        if (compactWritesNothing) {
            return;
        }
        FileOperations::compactDatabase(source, destination, connect);
    }
    qint64 recordCount(const QString& path, const QString& connect) override
    {
        if (failCount && failCount(path)) {
            versiondb::raise(versiondb::errorNumber::FileInUse);
        }
        const qint64 count = FileOperations::recordCount(path, connect);
        return path == original ? count : count + countShift;
    }
    bool moveFile(const QString& from, const QString& to) override
    {
        if (moveFails) {
            return false; // as into a read-only folder
        }
        if (moveHalf) {
            // A copy cut short, as by a full disk that reports no error.
            const QByteArray all = MaintenanceTree::bytes(from);
            MaintenanceTree::write(to, all.left(all.size() / 2));
            QFile::remove(from);
            return true;
        }
        return FileOperations::moveFile(from, to);
    }
    bool flushFile(const QString& path) override { return !flushFails && FileOperations::flushFile(path); }
    bool integrityOk(const QString& path) override { return !integrityFails && FileOperations::integrityOk(path); }
    bool replaceFile(const QString& from, const QString& to) override
    {
        return !replaceFails && FileOperations::replaceFile(from, to);
    }
};

class Maintenance : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.isValid()); }

    MaintenanceTree tree;
};

TEST_F(Maintenance, compactionKeepsEveryRecordAndTheNameAndLeavesNoOtherFile)
{
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), 1500);
    MaintenanceTree::churn(file);
    const std::optional<Records> before = MaintenanceTree::read(file);
    ASSERT_TRUE(before.has_value());
    const qint64 sizeBefore = QFileInfo(file).size();

    VersionMaintenance maintenance(tree.programFolder());
    const maintenance::CompactOutcome outcome = maintenance.CompactVersion(file);

    EXPECT_TRUE(outcome.compacted()) << outcome.detail.toStdString();
    EXPECT_EQ(MaintenanceTree::read(file), before);
    EXPECT_EQ(MaintenanceTree::integrityOf(file), QStringLiteral("ok"));
    EXPECT_LT(QFileInfo(file).size(), sizeBefore);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("mine.dat")});
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

TEST_F(Maintenance, compactionDeletesAnOldScratchDatabaseFirst)
{
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), 200);
    const std::optional<Records> before = MaintenanceTree::read(file);
    MaintenanceTree::write(tree.scratchPath(), "left by an earlier run");

    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_TRUE(maintenance.CompactVersion(file).compacted());
    EXPECT_EQ(MaintenanceTree::read(file), before);
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

TEST_F(Maintenance, compactionRemovesTheCopiesAnInterruptedCompactionLeftBesideTheFile)
{
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), 100);
    const std::optional<Records> before = MaintenanceTree::read(file);
    MaintenanceTree::write(file + QStringLiteral(".compact-0a1b2c"), "half a copy");
    MaintenanceTree::write(file + QStringLiteral(".compact-0a1b2c-wal"), "its log");
    MaintenanceTree::write(file + QStringLiteral(".compact-notes"), "the user's own");
    MaintenanceTree::write(tree.path(QStringLiteral("other.dat.compact-0a1b2c")), "another file's");

    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_TRUE(maintenance.CompactVersion(file).compacted());

    EXPECT_EQ(MaintenanceTree::read(file), before);
    EXPECT_EQ(tree.installEntries(), (QStringList{QStringLiteral("mine.dat"), QStringLiteral("mine.dat.compact-notes"),
                                                  QStringLiteral("other.dat.compact-0a1b2c")}));
}

struct Fault
{
    const char* name;
    CompactStep expected;
    std::function<void(FaultyOperations&, const MaintenanceTree&)> arrange;
};

// Every step of a compaction failing in turn: the records are all there at the
// chosen file's name, the file opens, and nothing of the compaction is left.
TEST_F(Maintenance, aFailureAtAnyStepOfACompactionLosesNothing)
{
    const std::vector<Fault> faults = {
        {"the engine call fails", CompactStep::Engine, [](FaultyOperations& ops, auto&) { ops.compactFails = true; }},
        {"the old scratch file cannot be deleted", CompactStep::RemoveOldScratch,
         [](FaultyOperations& ops, const MaintenanceTree& t) {
             MaintenanceTree::write(t.scratchPath(), "old");
             const QString scratch = t.scratchPath();
             ops.failRemove = [scratch](const QString& path) { return path == scratch; };
         }},
        {"the engine writes no copy", CompactStep::ScratchMissing,
         [](FaultyOperations& ops, auto&) { ops.compactWritesNothing = true; }},
        {"the original cannot be counted", CompactStep::CountOriginal,
         [](FaultyOperations& ops, auto&) {
             const QString original = ops.original;
             ops.failCount = [original](const QString& path) { return path == original; };
         }},
        {"the folder is read-only", CompactStep::MoveBesideOriginal,
         [](FaultyOperations& ops, auto&) { ops.moveFails = true; }},
        {"the copy cannot be written to the disk", CompactStep::MoveBesideOriginal,
         [](FaultyOperations& ops, auto&) { ops.flushFails = true; }},
        {"the copy arrives cut short", CompactStep::CheckCopy,
         [](FaultyOperations& ops, auto&) { ops.moveHalf = true; }},
        {"the integrity check of the copy fails", CompactStep::CheckCopy,
         [](FaultyOperations& ops, auto&) { ops.integrityFails = true; }},
        {"the copy lacks a record", CompactStep::CheckCopy, [](FaultyOperations& ops, auto&) { ops.countShift = -1; }},
        {"the copy does not open", CompactStep::CheckCopy,
         [](FaultyOperations& ops, auto&) {
             const QString original = ops.original;
             ops.failCount = [original](const QString& path) { return path != original; };
         }},
        {"the rename fails", CompactStep::Replace, [](FaultyOperations& ops, auto&) { ops.replaceFails = true; }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        MaintenanceTree t;
        ASSERT_TRUE(t.isValid());
        const QString file = t.makeVersion(QStringLiteral("mine.dat"), 300);
        MaintenanceTree::churn(file);
        const std::optional<Records> before = MaintenanceTree::read(file);
        ASSERT_TRUE(before.has_value());
        const QByteArray bytesBefore = MaintenanceTree::bytes(file);

        FaultyOperations ops;
        ops.original = file;
        fault.arrange(ops, t);
        VersionMaintenance maintenance(t.programFolder(), &ops);
        const maintenance::CompactOutcome outcome = maintenance.CompactVersion(file);

        EXPECT_EQ(outcome.failedAt, fault.expected);
        EXPECT_EQ(maintenance::MaintenanceMessages::forOutcome(QStringLiteral("mine.dat"), outcome),
                  QList<maintenance::Message>{maintenance::MaintenanceMessages::compactFailed()});
        EXPECT_EQ(MaintenanceTree::read(file), before);
        EXPECT_EQ(MaintenanceTree::integrityOf(file), QStringLiteral("ok"));
        EXPECT_EQ(MaintenanceTree::bytes(file), bytesBefore);
        EXPECT_EQ(t.installEntries(), QStringList{QStringLiteral("mine.dat")});
        if (fault.expected == CompactStep::RemoveOldScratch) {
            EXPECT_EQ(t.programEntries(), QStringList{QStringLiteral("temp.mdb")});
        } else {
            EXPECT_TRUE(t.programEntries().isEmpty()) << t.programEntries().join(u' ').toStdString();
        }
    }
}

TEST_F(Maintenance, aFileThatIsNoDatabaseFailsCompactionUnchanged)
{
    const QString file = tree.path(QStringLiteral("text.dat"));
    const QByteArray content = QByteArray("창 1:1 태초에\r\n").repeated(50);
    MaintenanceTree::write(file, content);
    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_EQ(maintenance.CompactVersion(file).failedAt, CompactStep::Engine);
    EXPECT_EQ(MaintenanceTree::bytes(file), content);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("text.dat")});
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

TEST_F(Maintenance, compactionInAReadOnlyFolderFailsAndKeepsTheFile)
{
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), 100);
    const std::optional<Records> before = MaintenanceTree::read(file);
    QFile::setPermissions(tree.installFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool enforced = !QFileInfo(tree.installFolder()).isWritable();
    if (enforced) {
        VersionMaintenance maintenance(tree.programFolder());
        EXPECT_FALSE(maintenance.CompactVersion(file).compacted());
    }
    QFile::setPermissions(tree.installFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "folder permissions are not enforced for this user; the injected fault covers it";
    }
    EXPECT_EQ(MaintenanceTree::read(file), before);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("mine.dat")});
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

TEST_F(Maintenance, compactionNeverTakesTheScratchDatabaseAsItsSource)
{
    // An install where the program folder is the install folder itself.
    const QString scratch = tree.scratchPath();
    QFile::copy(tree.makeVersion(QStringLiteral("mine.dat"), 20), scratch);
    const QByteArray content = MaintenanceTree::bytes(scratch);
    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_EQ(maintenance.CompactVersion(scratch).failedAt, CompactStep::SameAsScratch);
    EXPECT_EQ(MaintenanceTree::bytes(scratch), content);
}

TEST_F(Maintenance, repairRebuildsDamagedIndexes)
{
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), 400);
    const std::optional<Records> before = MaintenanceTree::read(file);
    MaintenanceTree::execRaw(file, "PRAGMA writable_schema=ON;"
                                   "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_schema "
                                   "  WHERE type = 'index';"
                                   "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM temp.roots "
                                   "  WHERE temp.roots.name <> sqlite_master.name) WHERE type = 'index';");
    ASSERT_NE(MaintenanceTree::integrityOf(file), QStringLiteral("ok"));

    VersionMaintenance maintenance(tree.programFolder());
    const maintenance::RepairOutcome outcome = maintenance.RepairVersion(file);

    EXPECT_TRUE(outcome.repaired);
    EXPECT_TRUE(outcome.errors.isEmpty());
    EXPECT_EQ(MaintenanceTree::integrityOf(file), QStringLiteral("ok"));
    EXPECT_EQ(MaintenanceTree::read(file), before);
}

TEST_F(Maintenance, repairBringsBackTheReadableRecordsOfADamagedTablePage)
{
    const int count = 3000;
    const QString file = tree.makeVersion(QStringLiteral("mine.dat"), count);
    const std::optional<Records> before = MaintenanceTree::read(file);
    ASSERT_TRUE(before.has_value());
    const qint64 pageSize = MaintenanceTree::queryRaw(file, QStringLiteral("PRAGMA page_size"));
    const qint64 page = MaintenanceTree::queryRaw(
        file, QStringLiteral("SELECT pageno FROM dbstat WHERE name = '본문' AND pagetype = 'leaf' "
                             "ORDER BY pageno LIMIT 1 OFFSET 20"));
    ASSERT_GT(page, 1);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek((page - 1) * pageSize));
        f.write(QByteArray(48, '\xee'));
    }
    ASSERT_NE(MaintenanceTree::integrityOf(file), QStringLiteral("ok"));

    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_TRUE(maintenance.RepairVersion(file).repaired);

    const std::optional<Records> after = MaintenanceTree::read(file);
    ASSERT_TRUE(after.has_value());
    EXPECT_GT(after->size(), static_cast<std::size_t>(count * 9 / 10));
    EXPECT_LT(after->size(), static_cast<std::size_t>(count));
    for (const auto& [number, values] : *after) {
        EXPECT_EQ(values, before->at(number)) << number;
    }
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("mine.dat")});
}

TEST_F(Maintenance, repairOfAFileThatIsNoDatabaseGivesTheEngineErrorsInOrderAndLeavesIt)
{
    const QString file = tree.path(QStringLiteral("broken.dat"));
    const QByteArray content = QByteArray("창 1:1 태초에\r\n").repeated(400);
    MaintenanceTree::write(file, content);

    VersionMaintenance maintenance(tree.programFolder());
    const maintenance::RepairOutcome outcome = maintenance.RepairVersion(file);

    EXPECT_FALSE(outcome.repaired);
    ASSERT_EQ(outcome.errors.size(), 2);
    EXPECT_EQ(outcome.errors[0].Number, versiondb::errorNumber::UnrecognizedFormat);
    EXPECT_EQ(outcome.errors[1].Number, versiondb::errorNumber::DatabaseDamaged);
    const QList<maintenance::Message> messages =
        maintenance::MaintenanceMessages::forOutcome(QStringLiteral("broken.dat"), outcome);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, QStringLiteral("치료하지 못했습니다!\r오류 번호: 3343\r") +
                                    versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat));
    EXPECT_EQ(messages[1].text, QStringLiteral("치료하지 못했습니다!\r오류 번호: 3049\r") +
                                    versiondb::errorDescription(versiondb::errorNumber::DatabaseDamaged));
    EXPECT_EQ(messages[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(MaintenanceTree::bytes(file), content);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("broken.dat")});
}

TEST_F(Maintenance, theShippedNameTestLooksAtTheNameOnlyInAnyLetterCase)
{
    const QString sep = QDir::separator();
    const std::vector<std::pair<QString, bool>> cases = {
        {sep + QStringLiteral("a") + sep + QStringLiteral("KJV.DAT"), true},
        {sep + QStringLiteral("b") + sep + QStringLiteral("User.dat"), true},
        {sep + QStringLiteral("c") + sep + QStringLiteral("개역.DAT"), true},
        {sep + QStringLiteral("kjv.dat"), true},
        {sep + QStringLiteral("kjv.dat.bak"), false},
        {sep + QStringLiteral("kjv2.dat"), false},
        {sep + QStringLiteral("my.dat"), false},
        {QStringLiteral("kjv.dat"), false}, // no separator: no display name
    };
    for (const auto& [path, shipped] : cases) {
        EXPECT_EQ(VersionMaintenance::isShipped(path), shipped) << path.toStdString();
    }
}

TEST_F(Maintenance, deletionRemovesTheFile)
{
    for (const QString& name :
         {QStringLiteral("kjv.dat.bak"), QStringLiteral("kjv2.dat"), QStringLiteral("내것.DAT")}) {
        SCOPED_TRACE(name.toStdString());
        MaintenanceTree::write(tree.path(name), "x");
        VersionMaintenance maintenance(tree.programFolder());
        const maintenance::DeleteOutcome outcome = maintenance.DeleteVersion(tree.path(name));
        EXPECT_TRUE(outcome.deleted);
        EXPECT_FALSE(QFileInfo::exists(tree.path(name)));
    }
}

TEST_F(Maintenance, aDeletionThatFailsGivesTheFileSystemsDescription)
{
    const QString readOnly = tree.path(QStringLiteral("locked.dat"));
    MaintenanceTree::write(readOnly, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const std::vector<std::pair<QString, QString>> cases = {
        {tree.path(QStringLiteral("none.dat")), QStringLiteral("파일을 찾을 수 없습니다.")},
        {tree.path(QStringLiteral("gone")) + QDir::separator() + QStringLiteral("x.dat"),
         QStringLiteral("경로를 찾을 수 없습니다.")},
        {readOnly, QStringLiteral("경로/파일 액세스 오류입니다.")},
    };
    for (const auto& [path, description] : cases) {
        SCOPED_TRACE(path.toStdString());
        VersionMaintenance maintenance(tree.programFolder());
        const maintenance::DeleteOutcome outcome = maintenance.DeleteVersion(path);
        EXPECT_FALSE(outcome.deleted);
        EXPECT_EQ(outcome.description, description);
        const QList<maintenance::Message> messages =
            maintenance::MaintenanceMessages::forOutcome(QStringLiteral("x.dat"), outcome);
        EXPECT_EQ(messages, (QList<maintenance::Message>{{platform::MessageIcon::None, description}}));
    }
    EXPECT_TRUE(QFileInfo::exists(readOnly));
}

TEST(MaintenanceMessages, textsAsTheUserSeesThem)
{
    using maintenance::MaintenanceMessages;
    using platform::MessageIcon;
    const QString name = QStringLiteral("my.dat");
    EXPECT_EQ(MaintenanceMessages::repairConfirmation(name),
              QStringLiteral("my.dat\r\n\r\n선택된 파일을 치료하시겠습니까?"));
    EXPECT_EQ(MaintenanceMessages::compactConfirmation(name),
              QStringLiteral("my.dat\r\n\r\n선택된 파일을 최척화하겠습니까?"));
    EXPECT_EQ(MaintenanceMessages::deleteConfirmation(name),
              QStringLiteral("my.dat\r\n\r\n선택하신 역본파일을 석제하시겠습니까?"));
    const std::vector<std::pair<maintenance::Message, maintenance::Message>> cases = {
        {MaintenanceMessages::repairSucceeded(name),
         {MessageIcon::Information, QStringLiteral("my.dat\r\n\r\n성공적으로 치료가 끝났습니다 !")}},
        {MaintenanceMessages::repairFailed(3049, QStringLiteral("설명")),
         {MessageIcon::None, QStringLiteral("치료하지 못했습니다!\r오류 번호: 3049\r설명")}},
        {MaintenanceMessages::compactSucceeded(name),
         {MessageIcon::Information, QStringLiteral("my.dat\r\n\r\n성공적으로 완료되었습니다.\r\n"
                                                   "자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !")}},
        {MaintenanceMessages::compactFailed(),
         {MessageIcon::Critical, QStringLiteral("예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !")}},
        {MaintenanceMessages::shippedFileRefused(name),
         {MessageIcon::Exclamation,
          QStringLiteral("my.dat\r\n\r\n선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !")}},
        {MaintenanceMessages::deleted(name),
         {MessageIcon::Information, QStringLiteral("my.dat\r\n\r\n삭제되었습니다 !")}},
    };
    for (const auto& [made, expected] : cases) {
        EXPECT_EQ(made.text, expected.text);
        EXPECT_EQ(made.icon, expected.icon) << expected.text.toStdString();
    }
}

} // namespace
