#include "maintenance/VersionMaintenance.h"

#include "books/Versification.h"
#include "maintenance/FileOperations.h"
#include "maintenance/MaintenanceMessages.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/FileMove.h"
#include "platform/FileNames.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolders.h"
#include "versiondb/Cancelled.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/Names.h"
#include "versiondb/Repair.h"
#include "versiondb/SideFiles.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <exception>
#include <utility>

namespace maintenance {

namespace {

bool cancelled(const platform::RunControl* control)
{
    return control != nullptr && control->cancelled();
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

VersionMaintenance::VersionMaintenance(QString programFolder, FileOperations* operations)
    : m_programFolder(std::move(programFolder)),
      m_ownOperations(operations == nullptr ? std::make_unique<FileOperations>() : nullptr),
      m_operations(operations == nullptr ? m_ownOperations.get() : operations)
{}

VersionMaintenance::~VersionMaintenance() = default;

QString VersionMaintenance::repairListPath(const QString& programFolder)
{
    return programFolder + platform::separator() + QStringLiteral("repair.txt");
}

RepairOutcome VersionMaintenance::repairVersion(const QString& path, platform::RunControl* control)
{
    RepairOutcome outcome;
    try {
        const versiondb::RepairReport report =
            versiondb::repairDatabase(path, versiondb::referenceVersionPath(m_programFolder), control);
        outcome.repaired = true;
        outcome.lostVerses = static_cast<int>(report.lost.size());
        outcome.lostRanges = books::verseRanges(report.lost);
        outcome.damagedTexts = static_cast<int>(report.damaged.size());
        outcome.damagedRanges = books::verseRanges(report.damaged);
        outcome.keptOriginal = report.keptOriginal;
        outcome.historyLost = report.historyLost;
        if (!outcome.whole()) {
            outcome.listPath = repairListPath(m_programFolder);
            if (!writeRepairList(outcome, path)) {
                outcome.listPath.clear(); // the message shows the ranges it has, and names no list
            }
        }
    } catch (const versiondb::Cancelled&) {
        outcome.cancelled = true;
    } catch (const versiondb::Error& error) {
        outcome.failures = error.items();
    } catch (const std::exception& error) {
        outcome.failures << versiondb::failureOf(error);
    }
    return outcome;
}

CompactOutcome VersionMaintenance::compactVersion(const QString& path, platform::RunControl* control)
{
    try {
        return compact(path, control);
    } catch (const std::exception& error) {
        // A step that raised where none was expected: the chosen file has not been touched by then.
        return {CompactStep::Engine, versiondb::failureOf(error)};
    }
}

CompactOutcome VersionMaintenance::compact(const QString& chosen, platform::RunControl* control)
{
    if (cancelled(control)) {
        return {CompactStep::Cancelled, {}};
    }
    // Work on a link is work on the file it points to: the copy takes that file's place, and the link stays.
    const QString path = versiondb::VersionFile::resolvedPath(chosen);
    const QString scratch = versiondb::scratchPath(m_programFolder);
    if (sameFile(path, scratch)) {
        return {CompactStep::SameAsScratch, {}};
    }
    // One compaction at a time: they share the scratch database, which another would delete or take for its copy.
    const std::optional<platform::InstanceLock> scratchHeld =
        platform::InstanceLock::acquire(platform::instanceLockKey(scratch));
    if (!scratchHeld) {
        return {CompactStep::ScratchInUse, {}};
    }

    // An old scratch database is deleted first.
    if (platform::fileExists(scratch)) {
        if (const std::optional<QString> failure = m_operations->removeFile(scratch)) {
            return {CompactStep::RemoveOldScratch, versiondb::ErrorItem{0, *failure}};
        }
        versiondb::removeSideFiles(scratch);
    }

    // The chosen file is held from before it is read until the checked copy has taken its place,
    // so that no one can store into it in between and lose that work to the copy. The open removes
    // what killed compactions left beside it.
    std::unique_ptr<versiondb::VersionStore> original;
    try {
        original = versiondb::VersionStore::openDatabase(path, versiondb::VersionStore::Hold::Unchanged);
    } catch (const versiondb::Error& error) {
        return {CompactStep::Engine, error.item()};
    }
    // A copy inherits the damage of its source, so a failure is the source's when the source is not sound.
    const auto failed = [&](CompactStep step, const versiondb::ErrorItem& failure) -> CompactOutcome {
        if (const std::optional<QString> fault = m_operations->versionFault(*original)) {
            return {CompactStep::Damaged, versiondb::ErrorItem{0, *fault}};
        }
        return {step, failure};
    };

    try {
        m_operations->compactDatabase(*original, scratch, control);
    } catch (const versiondb::Cancelled&) {
        removeDatabaseFiles(scratch);
        return {CompactStep::Cancelled, {}};
    } catch (const versiondb::Error& error) {
        removeDatabaseFiles(scratch);
        return failed(CompactStep::Engine, error.item());
    }
    if (cancelled(control)) {
        removeDatabaseFiles(scratch);
        return {CompactStep::Cancelled, {}};
    }
    if (!platform::fileExists(scratch)) {
        removeDatabaseFiles(scratch);
        return {CompactStep::ScratchMissing, {}};
    }

    qint64 originalCount = 0;
    try {
        originalCount = m_operations->recordCount(*original);
    } catch (const versiondb::Error& error) {
        removeDatabaseFiles(scratch);
        return {CompactStep::CountOriginal, error.item()};
    }

    // The copy waits beside the chosen file, so that the last step is a rename within one folder.
    const QString staging = versiondb::newWorkFilePath(path, versiondb::WorkKind::Compaction);
    if (!m_operations->moveFile(scratch, staging) || !m_operations->flushFile(staging)) {
        removeDatabaseFiles(staging);
        removeDatabaseFiles(scratch);
        return {CompactStep::MoveBesideOriginal, {}};
    }

    std::optional<versiondb::ErrorItem> problem;
    try {
        const std::unique_ptr<versiondb::VersionStore> copy = versiondb::VersionStore::openDatabase(staging);
        if (const std::optional<QString> fault = m_operations->versionFault(*copy)) {
            problem = versiondb::ErrorItem{0, *fault};
        } else if (const qint64 copyCount = m_operations->recordCount(*copy); copyCount != originalCount) {
            problem =
                versiondb::ErrorItem{0, QStringLiteral("%1 records instead of %2").arg(copyCount).arg(originalCount)};
        }
        copy->close();
    } catch (const versiondb::Error& error) {
        problem = error.item();
    }
    if (problem) {
        removeDatabaseFiles(staging);
        return failed(CompactStep::CheckCopy, *problem);
    }
    // The last moment to stop: the rename that follows puts the copy in place.
    if (cancelled(control)) {
        removeDatabaseFiles(staging);
        return {CompactStep::Cancelled, {}};
    }

    if (!platform::kOpenFilesCanGo) {
        original->close();
    }
    if (!m_operations->replaceFile(staging, path)) {
        removeDatabaseFiles(staging);
        return {CompactStep::Replace, {}};
    }
    platform::flushFolder(QFileInfo(path).absolutePath());
    // Only now may others open the file: they find the copy.
    original->close();

    if (!platform::fileExists(path)) {
        return {CompactStep::FinalCheck, {}};
    }
    return {};
}

bool VersionMaintenance::writeRepairList(const RepairOutcome& outcome, const QString& path) const
{
    QString text = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   QStringLiteral("\r\n") + MaintenanceMessages::repairListHeading(path, outcome);
    const auto section = [&](const QString& heading, const QStringList& ranges) {
        if (!ranges.isEmpty()) {
            text += QStringLiteral("\r\n") + heading + QStringLiteral("\r\n") + ranges.join(QStringLiteral("\r\n")) +
                    QStringLiteral("\r\n");
        }
    };
    section(MaintenanceMessages::lostVersesHeading(outcome.lostVerses), outcome.lostRanges);
    section(MaintenanceMessages::damagedTextsHeading(outcome.damagedTexts), outcome.damagedRanges);
    // UTF-8 with a byte-order mark, so that any editor reads it.
    QSaveFile file(outcome.listPath);
    const QByteArray bytes = "\xef\xbb\xbf" + text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void VersionMaintenance::removeDatabaseFiles(const QString& path)
{
    if (QFileInfo::exists(path)) {
        (void)m_operations->removeFile(path);
    }
    versiondb::removeSideFiles(path);
}

DeleteOutcome VersionMaintenance::deleteVersion(const QString& path)
{
    const QFileInfo info(path);
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.isFile() && (info.permissions() & writeBits) == 0) {
        return {versiondb::ErrorItem{0, platform::FileErrorDescriptions::accessError()}};
    }
    try {
        // A file that someone has open is not deleted under them; the hold also keeps
        // anyone from opening it while it and its journal go.
        versiondb::FileHold hold(path);
        hold.endBeforeDeletion();
        if (const std::optional<QString> failure = m_operations->removeFile(path)) {
            return {versiondb::ErrorItem{0, *failure}};
        }
        if (!info.isSymLink()) {
            versiondb::removeSideFiles(path);
            versiondb::removeWorkFileLeftovers(path);
        }
    } catch (const versiondb::Error& error) {
        return {error.item()};
    }
    return {};
}

} // namespace maintenance
