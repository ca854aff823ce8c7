// Repair, compaction and deletion of version files, with faults made at every step of a compaction.

#include "maintenance/VersionMaintenance.h"

#include "maintenance/FileOperations.h"
#include "maintenance/MaintenanceMessages.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/InstanceLock.h"
#include "support/InstallTreeTest.h"
#include "versiondb/SideFiles.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QFileInfo>
#include <tuple>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using maintenance::CompactStep;
using maintenance::FileOperations;
namespace MaintenanceMessages = maintenance::MaintenanceMessages;
using maintenance::VersionMaintenance;
using namespace testsupport;

namespace {

enum class Fail
{
    Engine,         // the engine call fails, as on a full disk
    EngineNoCopy,   // the engine returns without writing a copy
    RemoveScratch,  // the old scratch file cannot be deleted
    CountOriginal,  // the original cannot be counted
    CountCopy,      // the copy does not open
    CopyLacksOne,   // the copy lacks a record
    Move,           // as into a read-only folder
    MoveHalf,       // a copy cut short, as by a full disk that reports no error: its check fails
    Flush,          // the copy cannot be written to the disk
    Integrity,      // the copy is not sound
    Replace,        // the rename fails
    CancelInEngine, // the run is cancelled as the engine's copy begins
    CancelAtCheck,  // or once the copy has been checked, the last moment before it would take the file's place
};

// The real operations with one step made to fail, or the run cancelled at one.
struct FaultyOperations : FileOperations
{
    using Base = FileOperations;
    FaultyOperations(Fail failing, QString original, QString scratch, platform::RunControl* run = nullptr)
        : fail(failing), originalPath(std::move(original)), scratchPath(std::move(scratch)), runToCancel(run)
    {}
    std::optional<QString> removeFile(const QString& path) override
    {
        return fail == Fail::RemoveScratch && path == scratchPath ? u"사용 권한이 없습니다."_s : Base::removeFile(path);
    }
    void compactDatabase(versiondb::VersionStore& source, const QString& destination,
                         platform::RunControl* control) override
    {
        if (fail == Fail::Engine) {
            versiondb::raise(versiondb::errorNumber::DiskFull);
        }
        if (fail == Fail::CancelInEngine) {
            runToCancel->cancel();
        }
        if (fail != Fail::EngineNoCopy) {
            Base::compactDatabase(source, destination, control);
        }
    }
    qint64 recordCount(versiondb::VersionStore& version) override
    {
        const bool original = version.name() == originalPath;
        if ((fail == Fail::CountOriginal && original) || (fail == Fail::CountCopy && !original)) {
            versiondb::raise(versiondb::errorNumber::FileInUse);
        }
        return Base::recordCount(version) - (fail == Fail::CopyLacksOne && !original ? 1 : 0);
    }
    bool moveFile(const QString& from, const QString& to) override
    {
        if (fail == Fail::MoveHalf) {
            write(to, bytes(from).left(QFileInfo(from).size() / 2));
            return QFile::remove(from);
        }
        return fail != Fail::Move && Base::moveFile(from, to);
    }
    bool flushFile(const QString& path) override { return fail != Fail::Flush && Base::flushFile(path); }
    std::optional<QString> versionFault(versiondb::VersionStore& version) override
    {
        const bool copy = version.name() != originalPath;
        if (fail == Fail::CancelAtCheck) {
            runToCancel->cancel();
        }
        return fail == Fail::Integrity && copy ? std::optional(u"damaged"_s) : Base::versionFault(version);
    }
    bool replaceFile(const QString& from, const QString& to) override
    {
        return fail != Fail::Replace && Base::replaceFile(from, to);
    }
    Fail fail;
    QString originalPath, scratchPath;
    platform::RunControl* runToCancel;
};

using Maintenance = InstallTreeTest;

} // namespace

// An old temp.mdb is removed, a link's target is compacted; the scratch database is never a source, nor touched while
// another compaction holds it.
TEST_F(Maintenance, compactionKeepsEveryRecordAndTheNameAndLeavesNoOtherFile)
{
    QDir(installFolder()).mkdir(u"store"_s);
    const QString file = makeVersion(u"store/mine.dat"_s, 1500, Texts::Most);
    const QString chosen = testsupport::kSymbolicLinks ? path(u"mine.dat"_s) : file;
    ASSERT_TRUE(!testsupport::kSymbolicLinks || QFile::link(u"store/mine.dat"_s, chosen));
    churn(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner)); // stays private
#ifndef Q_OS_WIN
    ASSERT_TRUE(::geteuid() != 0 || ::chown(QFile::encodeName(file).constData(), 65534, 65534) == 0); // nobody's
#endif
    const auto access = [&] { return std::tuple(QFile::permissions(file), QFileInfo(file).ownerId()); };
    const auto accessBefore = access();
    const auto before = storedRecords(file);
    const qint64 sizeBefore = QFileInfo(file).size();
    write(scratchPath(), "left by an earlier run");
    const maintenance::CompactOutcome outcome = VersionMaintenance(programFolder()).compactVersion(chosen);
    EXPECT_TRUE(outcome.compacted()) << outcome.failure.value_or(versiondb::ErrorItem{}).description.toStdString();
    EXPECT_EQ(QFileInfo(chosen).isSymLink(), testsupport::kSymbolicLinks);
    EXPECT_EQ(storedRecords(chosen), before);
    EXPECT_EQ(access(), accessBefore);
    EXPECT_LT(QFileInfo(file).size(), sizeBefore);
    EXPECT_EQ(QDir(path(u"store"_s)).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"mine.dat"_s});
    EXPECT_EQ(installEntries() + programEntries(),
              (testsupport::kSymbolicLinks ? QStringList{u"mine.dat"_s, u"store"_s} : QStringList{u"store"_s}));
    ASSERT_TRUE(QFile::copy(file, scratchPath()));
    const QByteArray scratch = bytes(scratchPath());
    EXPECT_EQ(VersionMaintenance(programFolder()).compactVersion(scratchPath()).failedAt, CompactStep::SameAsScratch);
    const auto another = platform::InstanceLock::acquire(platform::instanceLockKey(scratchPath())); // a run holds it
    EXPECT_EQ(VersionMaintenance(programFolder()).compactVersion(file).failedAt, CompactStep::ScratchInUse);
    EXPECT_EQ(bytes(scratchPath()), scratch);
}

TEST_F(Maintenance, aFailureAtAnyStepOfACompactionLosesNothing)
{
    using enum CompactStep;
    using F = std::pair<Fail, CompactStep>;
    for (const auto& [fail, expected] :
         {F(Fail::Engine, Engine), F(Fail::RemoveScratch, RemoveOldScratch), F(Fail::EngineNoCopy, ScratchMissing),
          F(Fail::CountOriginal, CountOriginal), F(Fail::Move, MoveBesideOriginal), F(Fail::Flush, MoveBesideOriginal),
          F(Fail::Integrity, CheckCopy), F(Fail::MoveHalf, CheckCopy), F(Fail::CopyLacksOne, CheckCopy),
          F(Fail::CountCopy, CheckCopy), F(Fail::Replace, Replace)}) {
        SCOPED_TRACE(static_cast<int>(fail));
        InstallTree t;
        const QString file = t.makeVersion(u"mine.dat"_s, 300, Texts::Most);
        churn(file);
        const QByteArray before = bytes(file);
        write(t.scratchPath(), "old"); // removed first, unless that is the step that fails
        FaultyOperations ops(fail, file, t.scratchPath());
        const maintenance::CompactOutcome outcome = VersionMaintenance(t.programFolder(), &ops).compactVersion(file);
        EXPECT_EQ(outcome.failedAt, expected);
        EXPECT_EQ(MaintenanceMessages::forOutcome(u"mine.dat"_s, outcome),
                  QList<maintenance::Message>{MaintenanceMessages::compactFailed()});
        EXPECT_EQ(bytes(file), before);
        EXPECT_EQ(t.installEntries(), QStringList{u"mine.dat"_s});
        EXPECT_EQ(t.programEntries(), fail == Fail::RemoveScratch ? QStringList{u"temp.mdb"_s} : QStringList{});
    }
}

// A deletion takes side and work files along; one that fails gives the file system's description.
TEST_F(Maintenance, aDeletionTakesTheSideFilesAlongOrSaysWhyItFailed)
{
    const QString file = makeVersion(u"mine.dat"_s, 10, Texts::Most);
    for (const QString& side :
         versiondb::sideFilePaths(file) + QStringList{file + u".compact-0a1b2c"_s, file + u".repair-9"_s}) {
        write(side, "left by a killed writer");
    }
    EXPECT_TRUE(VersionMaintenance(programFolder()).deleteVersion(file).deleted());
    EXPECT_TRUE(installEntries().isEmpty()) << installEntries().join(u' ').toStdString();
    const QString readOnly = writeFile(u"locked.dat"_s, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const std::pair<QString, QString> cases[] = {
        {path(u"gone"_s) + QDir::separator() + u"x.dat"_s, platform::FileErrorDescriptions::pathNotFound()},
        {readOnly, platform::FileErrorDescriptions::accessError()},
    };
    for (const auto& [failing, description] : cases) {
        const maintenance::DeleteOutcome outcome = VersionMaintenance(programFolder()).deleteVersion(failing);
        EXPECT_FALSE(outcome.deleted()) << failing.toStdString();
        EXPECT_EQ(MaintenanceMessages::forOutcome(u"x.dat"_s, outcome),
                  (QList<maintenance::Message>{{platform::MessageIcon::None, description}}));
    }
    EXPECT_TRUE(QFileInfo::exists(readOnly));
}

// A compaction or repair cancelled midway leaves the file byte for byte as it was and nothing beside it.
TEST_F(Maintenance, aCancelledCompactionOrRepairLeavesTheFileAsItWas)
{
    const QString file = makeVersion(u"mine.dat"_s, wholeBible());
    const QByteArray sound = bytes(file);
    for (const Fail cancel : {Fail::CancelInEngine, Fail::CancelAtCheck}) {
        SCOPED_TRACE(static_cast<int>(cancel));
        platform::RunControl control;
        FaultyOperations ops(cancel, file, scratchPath(), &control);
        const maintenance::CompactOutcome outcome =
            VersionMaintenance(programFolder(), &ops).compactVersion(file, &control);
        EXPECT_EQ(outcome.failedAt, CompactStep::Cancelled);
        EXPECT_EQ(MaintenanceMessages::forOutcome(u"mine.dat"_s, outcome).value(0).text,
                  u"mine.dat\r\n\r\n최적화를 취소했습니다. 파일은 최적화하기 전 그대로입니다."_s);
        EXPECT_EQ(bytes(file), sound);
        EXPECT_EQ(installEntries() + programEntries(), QStringList{u"mine.dat"_s});
    }

    (void)sql(file, u"UPDATE \"본문\" SET \"번호\" = 9 WHERE \"번호\" = 8"_s);
    const QByteArray damaged = bytes(file);
    platform::RunControl control;
    const maintenance::RepairOutcome outcome = cancelledWhen(
        control, [&] { return control.stage() >= 1; },
        [&] { return VersionMaintenance(programFolder()).repairVersion(file, &control); });
    EXPECT_TRUE(outcome.cancelled && !outcome.repaired);
    EXPECT_EQ(MaintenanceMessages::forOutcome(u"mine.dat"_s, outcome).value(0).text,
              u"mine.dat\r\n\r\n치료를 취소했습니다. 파일은 치료하기 전 그대로입니다."_s);
    EXPECT_EQ(bytes(file), damaged);
    EXPECT_EQ(installEntries() + programEntries(), QStringList{u"mine.dat"_s});

    // Repaired with a history row that does not read: the texts come back; the message says so, naming the kept file.
    (void)sql(file, u"INSERT INTO \"이전본문\" VALUES (1, x'28b52ffd')"_s);
    const maintenance::RepairOutcome repaired = VersionMaintenance(programFolder()).repairVersion(file);
    EXPECT_TRUE(repaired.repaired && repaired.whole() && repaired.historyLost);
    const QList<maintenance::Message> said = MaintenanceMessages::forOutcome(u"mine.dat"_s, repaired);
    const QString kept = u"\r\n손상된 원본 파일: "_s + QFileInfo(repaired.keptOriginal).fileName();
    EXPECT_EQ(said,
              (QList<maintenance::Message>{
                  {platform::MessageIcon::Exclamation,
                   MaintenanceMessages::repairSucceeded(u"mine.dat"_s).text +
                       u"\r\n변경 이력을 끝까지 읽지 못했습니다. 읽지 못한 변경은 되돌릴 수 없습니다."_s + kept}}));
}
