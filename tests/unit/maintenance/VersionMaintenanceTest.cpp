// Repair, compaction and deletion of version files, with faults made at every step of a compaction.

#include "maintenance/VersionMaintenance.h"

#include "maintenance/FileOperations.h"
#include "maintenance/MaintenanceMessages.h"
#include "support/InstallTree.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using maintenance::CompactStep;
using maintenance::FileOperations;
using maintenance::VersionMaintenance;
using testsupport::InstallTree;
using testsupport::Records;

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

// The steps that FaultyOperations can make fail.
enum class Fail
{
    Engine,        // the engine call fails
    EngineNoCopy,  // the engine returns without writing a copy
    RemoveScratch, // the old scratch file cannot be deleted
    CountOriginal, // the original cannot be counted
    CountCopy,     // the copy does not open
    CopyLacksOne,  // the copy lacks a record
    Move,          // as into a read-only folder
    MoveHalf,      // a copy cut short, as by a full disk that reports no error
    Flush,         // the copy cannot be written to the disk
    Integrity,     // the integrity check of the copy fails
    Replace,       // the rename fails
};

// The real operations with one step made to fail.
class FaultyOperations : public FileOperations
{
public:
    FaultyOperations(Fail fail, QString original, QString scratch)
        : m_fail(fail), m_original(std::move(original)), m_scratch(std::move(scratch))
    {}

    std::optional<QString> removeFile(const QString& path) override
    {
        if (m_fail == Fail::RemoveScratch && path == m_scratch) {
            return QStringLiteral("사용 권한이 없습니다.");
        }
        return FileOperations::removeFile(path);
    }
    void compactDatabase(versiondb::Database& source, const QString& destination, const QString& connect) override
    {
        if (m_fail == Fail::Engine) {
            versiondb::raise(versiondb::errorNumber::DiskFull);
        }
        if (m_fail != Fail::EngineNoCopy) {
            FileOperations::compactDatabase(source, destination, connect);
        }
    }
    qint64 recordCount(versiondb::Database& database) override
    {
        const bool original = database.Name() == m_original;
        if ((m_fail == Fail::CountOriginal && original) || (m_fail == Fail::CountCopy && !original)) {
            versiondb::raise(versiondb::errorNumber::FileInUse);
        }
        return FileOperations::recordCount(database) - (m_fail == Fail::CopyLacksOne && !original ? 1 : 0);
    }
    bool moveFile(const QString& from, const QString& to) override
    {
        if (m_fail == Fail::MoveHalf) {
            const QByteArray all = testsupport::bytes(from);
            testsupport::write(to, all.left(all.size() / 2));
            return QFile::remove(from);
        }
        return m_fail != Fail::Move && FileOperations::moveFile(from, to);
    }
    bool flushFile(const QString& path) override { return m_fail != Fail::Flush && FileOperations::flushFile(path); }
    bool integrityOk(const QString& path) override
    {
        return m_fail != Fail::Integrity && FileOperations::integrityOk(path);
    }
    bool replaceFile(const QString& from, const QString& to) override
    {
        return m_fail != Fail::Replace && FileOperations::replaceFile(from, to);
    }

private:
    Fail m_fail;
    QString m_original;
    QString m_scratch;
};

class Maintenance : public ::testing::Test
{
protected:
    InstallTree tree;
};

// An old temp.mdb and the copies an interrupted compaction left beside the file
// are removed; the user's own files are not. A symbolic link stays a link, and
// the file it points to is compacted.
TEST_F(Maintenance, compactionKeepsEveryRecordAndTheNameAndLeavesNoOtherFile)
{
    for (const bool throughLink : {false, true}) {
        SCOPED_TRACE(throughLink ? "through a link" : "the file itself");
        testsupport::InstallTree t;
        QDir(t.installFolder()).mkdir(QStringLiteral("store"));
        const QString file = t.makeVersion(throughLink ? QStringLiteral("store/mine.dat") : QStringLiteral("mine.dat"),
                                           1500, testsupport::Texts::Most);
        const QString chosen = t.path(QStringLiteral("mine.dat"));
        if (throughLink) {
            ASSERT_TRUE(QFile::link(QStringLiteral("store/mine.dat"), chosen));
        }
        const QString folder = QFileInfo(file).absolutePath();
        testsupport::churn(file);
        const std::optional<Records> before = testsupport::read(file);
        ASSERT_TRUE(before.has_value());
        const qint64 sizeBefore = QFileInfo(file).size();
        testsupport::write(t.scratchPath(), "left by an earlier run");
        testsupport::write(file + QStringLiteral(".compact-0a1b2c"), "half a copy");
        testsupport::write(file + QStringLiteral(".compact-0a1b2c-wal"), "its log");
        testsupport::write(file + QStringLiteral(".compact-notes"), "the user's own");
        testsupport::write(folder + QStringLiteral("/other.dat.compact-0a1b2c"), "another file's");

        VersionMaintenance maintenance(t.programFolder());
        const maintenance::CompactOutcome outcome = maintenance.CompactVersion(chosen);

        EXPECT_TRUE(outcome.compacted()) << outcome.detail.toStdString();
        EXPECT_EQ(QFileInfo(chosen).isSymLink(), throughLink);
        EXPECT_EQ(testsupport::read(chosen), before);
        EXPECT_EQ(testsupport::integrityOf(file), QStringLiteral("ok"));
        EXPECT_LT(QFileInfo(file).size(), sizeBefore);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                  (QStringList{QStringLiteral("mine.dat"), QStringLiteral("mine.dat.compact-notes"),
                               QStringLiteral("other.dat.compact-0a1b2c")}));
        if (throughLink) {
            EXPECT_EQ(t.installEntries(), (QStringList{QStringLiteral("mine.dat"), QStringLiteral("store")}));
        }
        EXPECT_TRUE(t.programEntries().isEmpty());
    }
}

// Every step of a compaction failing in turn: the records are all there at the
// chosen file's name, the file opens, and nothing of the compaction is left.
TEST_F(Maintenance, aFailureAtAnyStepOfACompactionLosesNothing)
{
    const std::vector<std::pair<Fail, CompactStep>> faults = {
        {Fail::Engine, CompactStep::Engine},
        {Fail::RemoveScratch, CompactStep::RemoveOldScratch},
        {Fail::EngineNoCopy, CompactStep::ScratchMissing},
        {Fail::CountOriginal, CompactStep::CountOriginal},
        {Fail::Move, CompactStep::MoveBesideOriginal},
        {Fail::Flush, CompactStep::MoveBesideOriginal},
        {Fail::MoveHalf, CompactStep::CheckCopy},
        {Fail::Integrity, CompactStep::CheckCopy},
        {Fail::CopyLacksOne, CompactStep::CheckCopy},
        {Fail::CountCopy, CompactStep::CheckCopy},
        {Fail::Replace, CompactStep::Replace},
    };
    for (const auto& [fail, expected] : faults) {
        SCOPED_TRACE(static_cast<int>(fail));
        InstallTree t;
        const QString file = t.makeVersion(QStringLiteral("mine.dat"), 300, testsupport::Texts::Most);
        testsupport::churn(file);
        const std::optional<Records> before = testsupport::read(file);
        ASSERT_TRUE(before.has_value());
        const QByteArray bytesBefore = testsupport::bytes(file);
        if (fail == Fail::RemoveScratch) {
            testsupport::write(t.scratchPath(), "old");
        }

        FaultyOperations ops(fail, file, t.scratchPath());
        VersionMaintenance maintenance(t.programFolder(), &ops);
        const maintenance::CompactOutcome outcome = maintenance.CompactVersion(file);

        EXPECT_EQ(outcome.failedAt, expected);
        EXPECT_EQ(maintenance::MaintenanceMessages::forOutcome(QStringLiteral("mine.dat"), outcome),
                  QList<maintenance::Message>{maintenance::MaintenanceMessages::compactFailed()});
        EXPECT_EQ(testsupport::read(file), before);
        EXPECT_EQ(testsupport::integrityOf(file), QStringLiteral("ok"));
        EXPECT_EQ(testsupport::bytes(file), bytesBefore);
        EXPECT_EQ(t.installEntries(), QStringList{QStringLiteral("mine.dat")});
        EXPECT_EQ(t.programEntries(),
                  fail == Fail::RemoveScratch ? QStringList{QStringLiteral("temp.mdb")} : QStringList{});
    }
}

TEST_F(Maintenance, compactionNeverTakesTheScratchDatabaseAsItsSource)
{
    // As in an install where the program folder is the install folder itself.
    const QString scratch = tree.scratchPath();
    QFile::copy(tree.makeVersion(QStringLiteral("mine.dat"), 20, testsupport::Texts::Most), scratch);
    const QByteArray content = testsupport::bytes(scratch);
    VersionMaintenance maintenance(tree.programFolder());
    EXPECT_EQ(maintenance.CompactVersion(scratch).failedAt, CompactStep::SameAsScratch);
    EXPECT_EQ(testsupport::bytes(scratch), content);
}

// A missing file, a missing folder and a read-only file (refused as the desktop refuses it).
TEST_F(Maintenance, aDeletionThatFailsGivesTheFileSystemsDescriptionWithoutIcon)
{
    const QString readOnly = tree.path(QStringLiteral("locked.dat"));
    testsupport::write(readOnly, "x");
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
        EXPECT_EQ(maintenance::MaintenanceMessages::forOutcome(QStringLiteral("x.dat"), outcome),
                  (QList<maintenance::Message>{{platform::MessageIcon::None, description}}));
    }
    EXPECT_TRUE(QFileInfo::exists(readOnly));
}

} // namespace
