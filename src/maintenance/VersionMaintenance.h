#pragma once

#include "platform/RunControl.h"
#include "versiondb/Error.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace maintenance {

class FileOperations;

struct RepairOutcome
{
    bool repaired = false;
    // The run was cancelled before the repaired file took the damaged one's place: the file is as it was.
    bool cancelled = false;
    // Why the repair failed: the engine's error, each of its items in the engine's order.
    QList<versiondb::ErrorItem> failures;
    // A repair that could not bring back every text whole: the verses whose text is lost and
    // those whose text kept bytes that are not text, as ranges within a chapter ("창 1:4-31"),
    // the full list written in the program folder, and the damaged file kept beside the version.
    int lostVerses = 0;
    QStringList lostRanges;
    int damagedTexts = 0;
    QStringList damagedRanges;
    QString listPath;
    QString keptOriginal;
    // Changes of the history that could not be kept: they can no longer be taken back.
    bool historyLost = false;

    [[nodiscard]] bool whole() const { return lostVerses == 0 && damagedTexts == 0; }
};

// The steps of a compaction, in their order; a failed outcome names the one that failed.
enum class CompactStep
{
    None,
    SameAsScratch,      // the chosen file is the scratch database itself
    ScratchInUse,       // another compaction holds the scratch database
    Damaged,            // the chosen file is not sound: it needs a repair first
    RemoveOldScratch,   // an old temp.mdb could not be deleted
    Engine,             // the engine's compaction failed
    ScratchMissing,     // the engine returned without writing temp.mdb
    CountOriginal,      // the chosen file's records could not be counted
    MoveBesideOriginal, // the copy could not be written into the chosen file's folder
    CheckCopy,          // the copy does not open, is not sound, or lacks records
    Replace,            // the rename of the checked copy over the chosen file failed
    FinalCheck,         // no file at the chosen path afterwards
    Cancelled,          // the run was cancelled before the copy took the chosen file's place: the file is as it was
};

struct CompactOutcome
{
    CompactStep failedAt = CompactStep::None;
    // The engine's failure, or the check's finding (number 0), for logs; nothing where the step says it all.
    std::optional<versiondb::ErrorItem> failure;

    [[nodiscard]] bool compacted() const { return failedAt == CompactStep::None; }
};

struct DeleteOutcome
{
    // Why the deletion failed: the engine's failure, or the file system's (number 0).
    std::optional<versiondb::ErrorItem> failure;

    [[nodiscard]] bool deleted() const { return !failure; }
};

// Repair, compaction and deletion of one version file, each working on the
// whole closed file. The outcomes carry what the messages need; no text is
// shown here.
class VersionMaintenance
{
public:
    // Operations on the real file system and engine unless a test passes its own.
    explicit VersionMaintenance(QString programFolder, FileOperations* operations = nullptr);
    ~VersionMaintenance();

    // The engine's repair, in place, on the skeleton of the reference version; no password is
    // passed. When not every text came back whole, the full list of verses goes to the list file.
    // The records read and written are reported to control, when given (stage 0 reading, 1 writing);
    // once it is cancelled the repair stops between records with the outcome cancelled, the file
    // byte for byte as it was and nothing of the repair left (no work file, no kept copy, no list).
    [[nodiscard]] RepairOutcome repairVersion(const QString& path, platform::RunControl* control = nullptr);

    // The list of a repair's lost and damaged verses: program folder + sep + "repair.txt".
    [[nodiscard]] static QString repairListPath(const QString& programFolder);

    // Compacts into the scratch database, moves the copy beside the chosen
    // file, checks it (it opens with the password, is sound and holds as many
    // records as the chosen file) and only then renames it
    // over the chosen file, holding the chosen file open exclusively from before
    // it is read until then. On any failure the chosen file is as it was and
    // nothing of the compaction is left behind; a chosen file that is not sound
    // fails as damaged. A symbolic link stays a link: the file it points to is compacted.
    // Once control, when given, is cancelled, the compaction stops (within the engine's copy too)
    // and fails at CompactStep::Cancelled, with the chosen file as it was and nothing left behind.
    [[nodiscard]] CompactOutcome compactVersion(const QString& path, platform::RunControl* control = nullptr);

    // Deletes the file and its journal. A file that another user holds is refused
    // with the engine's "in use", and a file without any write permission as
    // read-only, as the desktop's own deletion does.
    [[nodiscard]] DeleteOutcome deleteVersion(const QString& path);

private:
    [[nodiscard]] CompactOutcome compact(const QString& chosen, platform::RunControl* control);
    // True when the list file was written.
    [[nodiscard]] bool writeRepairList(const RepairOutcome& outcome, const QString& path) const;
    void removeDatabaseFiles(const QString& path);

    QString m_programFolder;
    std::unique_ptr<FileOperations> m_ownOperations; // when no test passed its own
    FileOperations* m_operations;
};

} // namespace maintenance
