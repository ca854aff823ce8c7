#pragma once

#include <QString>
#include <optional>

namespace platform {
class RunControl;
}

namespace versiondb {
class VersionStore;
}

namespace maintenance {

// The file and engine operations that repair, compaction and deletion are made
// of, one call per step, so that a test can make any step fail. The engine
// calls raise versiondb::Error as the engine does.
class FileOperations
{
public:
    virtual ~FileOperations() = default;

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

    // The engine's compaction; a run that control cancels raises versiondb::Cancelled with no copy left.
    virtual void compactDatabase(versiondb::VersionStore& source, const QString& destination,
                                 platform::RunControl* control);
    // The number of records of the table 본문 of an open database.
    [[nodiscard]] virtual qint64 recordCount(versiondb::VersionStore& version);
    // What keeps an open version from being sound (see versiondb/Soundness.h), or nothing.
    [[nodiscard]] virtual std::optional<QString> versionFault(versiondb::VersionStore& version);
};

} // namespace maintenance
