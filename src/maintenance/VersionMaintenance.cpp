#include "maintenance/VersionMaintenance.h"

#include "maintenance/FileOperations.h"
#include "maintenance/MaintenanceMessages.h"
#include "platform/ProgramFolders.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/SideFiles.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <exception>
#include <utility>

namespace maintenance {

namespace {

const QString kStagingMark = QStringLiteral(".compact-");

// A name beside the chosen file that no file has: the chosen name, ".compact-" and six hex digits.
// It never ends in ".dat", so no file dialog or file list of version files shows it.
QString stagingPath(const QString& path)
{
    for (;;) {
        const QString candidate =
            path + kStagingMark + QString::number(QRandomGenerator::global()->bounded(0x100000, 0x1000000), 16);
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink()) {
            return candidate;
        }
    }
}

// Copies that an interrupted compaction of this file left beside it. The rename
// over the chosen file is one step, so the chosen file itself is whole; the copies are not needed.
QStringList stagingLeftovers(const QString& path)
{
    const QFileInfo info(path);
    static const QRegularExpression kSuffix(QStringLiteral("^\\.compact-[0-9a-f]{6}$"));
    QStringList leftovers;
    const QStringList names =
        info.dir().entryList({info.fileName() + kStagingMark + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name.size() > info.fileName().size() && kSuffix.match(name.mid(info.fileName().size())).hasMatch() &&
            name.startsWith(info.fileName())) {
            leftovers << info.dir().filePath(name);
        }
    }
    return leftovers;
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

VersionMaintenance::VersionMaintenance(QString programFolder, FileOperations* operations)
    : m_programFolder(std::move(programFolder)), m_operations(operations), m_ownsOperations(operations == nullptr)
{
    if (m_ownsOperations) {
        m_operations = new FileOperations;
    }
}

VersionMaintenance::~VersionMaintenance()
{
    if (m_ownsOperations) {
        delete m_operations;
    }
}

bool VersionMaintenance::isShipped(const QString& path)
{
    return versiondb::isShippedName(path);
}

RepairOutcome VersionMaintenance::RepairVersion(const QString& path)
{
    RepairOutcome outcome;
    try {
        m_operations->repairDatabase(path);
        outcome.repaired = true;
    } catch (const versiondb::Error& error) {
        const versiondb::Errors& errors = versiondb::DBEngine::instance().errors();
        for (int i = 0; i < errors.Count(); ++i) {
            outcome.errors << errors.Item(i);
        }
        if (outcome.errors.isEmpty()) {
            outcome.errors = error.items();
        }
    } catch (const std::exception&) {
        outcome.errors << versiondb::ErrorItem{versiondb::errorNumber::EngineFailure,
                                               versiondb::errorDescription(versiondb::errorNumber::EngineFailure)};
    }
    return outcome;
}

CompactOutcome VersionMaintenance::CompactVersion(const QString& path)
{
    try {
        return compact(path);
    } catch (const std::exception& error) {
        // A step that raised where none was expected: the chosen file has not been touched by then.
        return {CompactStep::Engine, QString::fromUtf8(error.what())};
    }
}

CompactOutcome VersionMaintenance::compact(const QString& chosen)
{
    // Work on a link is work on the file it points to: the copy takes that file's place, and the link stays.
    const QString path = versiondb::VersionFile::resolvedPath(chosen);
    const QString scratch = versiondb::scratchPath(m_programFolder);
    if (sameFile(path, scratch)) {
        return {CompactStep::SameAsScratch, {}};
    }

    // An old scratch database is deleted first.
    if (m_operations->fileExists(scratch)) {
        if (const std::optional<QString> failure = m_operations->removeFile(scratch)) {
            return {CompactStep::RemoveOldScratch, *failure};
        }
        versiondb::removeSideFiles(scratch);
    }

    // The chosen file is held from before it is read until the checked copy has taken its place,
    // so that no one can store into it in between and lose that work to the copy.
    std::unique_ptr<versiondb::Database> original;
    try {
        original = m_operations->openDatabase(path, versiondb::passwordConnect());
    } catch (const versiondb::Error& error) {
        return {CompactStep::Engine, error.Description()};
    }

    for (const QString& leftover : stagingLeftovers(path)) {
        removeDatabaseFiles(leftover);
    }

    try {
        m_operations->compactDatabase(*original, scratch, versiondb::passwordConnect());
    } catch (const versiondb::Error& error) {
        removeDatabaseFiles(scratch);
        return {CompactStep::Engine, error.Description()};
    }
    if (!m_operations->fileExists(scratch)) {
        removeDatabaseFiles(scratch);
        return {CompactStep::ScratchMissing, {}};
    }

    qint64 originalCount = 0;
    try {
        originalCount = m_operations->recordCount(*original);
    } catch (const versiondb::Error& error) {
        removeDatabaseFiles(scratch);
        return {CompactStep::CountOriginal, error.Description()};
    }

    // The copy waits beside the chosen file, so that the last step is a rename within one folder.
    const QString staging = stagingPath(path);
    if (!m_operations->moveFile(scratch, staging) || !m_operations->flushFile(staging)) {
        removeDatabaseFiles(staging);
        removeDatabaseFiles(scratch);
        return {CompactStep::MoveBesideOriginal, {}};
    }

    QString problem;
    if (!m_operations->integrityOk(staging)) {
        problem = QStringLiteral("integrity check failed");
    } else {
        try {
            const qint64 copyCount = m_operations->recordCount(staging, versiondb::passwordConnect());
            if (copyCount != originalCount) {
                problem = QStringLiteral("%1 records instead of %2").arg(copyCount).arg(originalCount);
            }
        } catch (const versiondb::Error& error) {
            problem = error.Description();
        }
    }
    if (!problem.isEmpty()) {
        removeDatabaseFiles(staging);
        return {CompactStep::CheckCopy, problem};
    }

    if (!m_operations->replaceFile(staging, path)) {
        removeDatabaseFiles(staging);
        return {CompactStep::Replace, {}};
    }
    m_operations->flushFolder(folderOf(path));
    // Only now may others open the file: they find the copy.
    original->Close();

    if (!m_operations->fileExists(path)) {
        return {CompactStep::FinalCheck, {}};
    }
    return {};
}

void VersionMaintenance::removeDatabaseFiles(const QString& path)
{
    if (QFileInfo::exists(path)) {
        (void)m_operations->removeFile(path);
    }
    versiondb::removeSideFiles(path);
}

DeleteOutcome VersionMaintenance::DeleteVersion(const QString& path)
{
    const QFileInfo info(path);
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.isFile() && (info.permissions() & writeBits) == 0) {
        return {false, MaintenanceMessages::accessError()};
    }
    try {
        // A file that someone has open is not deleted under them; the hold also keeps
        // anyone from opening it while it and its journal go.
        const versiondb::FileHold hold(path);
        if (const std::optional<QString> failure = m_operations->removeFile(path)) {
            return {false, *failure};
        }
        if (!info.isSymLink()) {
            versiondb::removeSideFiles(path);
        }
    } catch (const versiondb::Error& error) {
        return {false, error.Description()};
    }
    return {true, {}};
}

} // namespace maintenance
