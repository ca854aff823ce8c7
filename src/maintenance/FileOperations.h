#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace platform {
class RunControl;
}

namespace versiondb {
struct RepairReport;
class VersionStore;
} // namespace versiondb

namespace maintenance {

// The file and engine operations that repair, compaction and deletion are made
// of, one call per step, so that a test can make any step fail. The engine
// calls raise versiondb::Error as the engine does.
class FileOperations
{
public:
    virtual ~FileOperations() = default;

    // True only for a normal file (the shared fileExists).
    [[nodiscard]] virtual bool fileExists(const QString& path);
    // Removes one file; the description of the failure, or nothing.
    [[nodiscard]] virtual std::optional<QString> removeFile(const QString& path);
    // Moves a file to a name that does not exist yet. Within one file system it
    // is a rename; across file systems the data is copied, written to the disk,
    // and the source removed.
    [[nodiscard]] virtual bool moveFile(const QString& from, const QString& to);
    // Renames a file over another of the same folder in one step: afterwards
    // the name holds either the old file or the new one, never neither.
    [[nodiscard]] virtual bool replaceFile(const QString& from, const QString& to);
    // Writes a file's data to the disk.
    [[nodiscard]] virtual bool flushFile(const QString& path);
    // Writes a folder's entries to the disk (after a rename in it).
    virtual void flushFolder(const QString& folder);

    // Opens a version database for exclusive use, as every user opens one.
    [[nodiscard]] virtual std::unique_ptr<versiondb::VersionStore> openDatabase(const QString& path);
    // Opens the version a compaction copies, held without the open changing anything of it.
    [[nodiscard]] std::unique_ptr<versiondb::VersionStore> openToCompact(const QString& path);
    // The engine's compaction; a run that control cancels raises versiondb::Cancelled with no copy left.
    virtual void compactDatabase(versiondb::VersionStore& source, const QString& destination,
                                 platform::RunControl* control);
    // The engine's repair, on the skeleton of the reference version skeletonSource; a run that control cancels
    // raises versiondb::Cancelled with the file as it was.
    [[nodiscard]] virtual versiondb::RepairReport repairDatabase(const QString& path, const QString& skeletonSource,
                                                                 platform::RunControl* control);
    // The number of records of the table 본문 of an open database.
    [[nodiscard]] virtual qint64 recordCount(versiondb::VersionStore& version);
    // What keeps an open version from being sound (see versiondb/Soundness.h), or nothing.
    [[nodiscard]] virtual std::optional<QString> versionFault(versiondb::VersionStore& version);
};

} // namespace maintenance
