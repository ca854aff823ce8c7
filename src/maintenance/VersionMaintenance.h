#pragma once

#include "versiondb/Errors.h"

#include <QList>
#include <QString>

namespace maintenance {

class FileOperations;

struct RepairOutcome
{
    bool repaired = false;
    // The engine's errors when the repair failed, in the engine's order.
    QList<versiondb::ErrorItem> errors;
};

// The steps of a compaction, in their order; a failed outcome names the one that failed.
enum class CompactStep
{
    None,
    SameAsScratch,      // the chosen file is the scratch database itself
    RemoveOldScratch,   // an old temp.mdb could not be deleted
    Engine,             // the engine's compaction failed
    ScratchMissing,     // the engine returned without writing temp.mdb
    CountOriginal,      // the chosen file's records could not be counted
    MoveBesideOriginal, // the copy could not be written into the chosen file's folder
    CheckCopy,          // the copy does not open, fails the integrity check, or lacks records
    Replace,            // the rename of the checked copy over the chosen file failed
    FinalCheck,         // no file at the chosen path afterwards
};

struct CompactOutcome
{
    CompactStep failedAt = CompactStep::None;
    QString detail; // the engine's or the check's wording, for logs

    [[nodiscard]] bool compacted() const { return failedAt == CompactStep::None; }
};

struct DeleteOutcome
{
    bool deleted = false;
    QString description; // why the deletion failed
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
    VersionMaintenance(const VersionMaintenance&) = delete;
    VersionMaintenance& operator=(const VersionMaintenance&) = delete;

    // The engine's repair, in place; no password is passed.
    [[nodiscard]] RepairOutcome RepairVersion(const QString& path);

    // Compacts into the scratch database, moves the copy beside the chosen
    // file, checks it (it opens with the password, passes the integrity check
    // and holds as many records as the chosen file) and only then renames it
    // over the chosen file, holding the chosen file open exclusively from before
    // it is read until then. On any failure the chosen file is as it was and
    // nothing of the compaction is left behind. A symbolic link stays a link:
    // the file it points to is compacted.
    [[nodiscard]] CompactOutcome CompactVersion(const QString& path);

    // Deletes the file and its journal. A file that another user holds is refused
    // with the engine's "in use", and a file without any write permission as
    // read-only, as the desktop's own deletion does.
    [[nodiscard]] DeleteOutcome DeleteVersion(const QString& path);

    // True when the display name is one of the shipped files, which are never deleted.
    [[nodiscard]] static bool isShipped(const QString& path);

private:
    [[nodiscard]] CompactOutcome compact(const QString& chosen);
    void removeDatabaseFiles(const QString& path);

    QString m_programFolder;
    FileOperations* m_operations;
    bool m_ownsOperations;
};

} // namespace maintenance
