#pragma once

#include "versiondb/Errors.h"
#include "versiondb/Repair.h"

#include <QString>
#include <memory>

namespace versiondb {

class Database;
class DatabaseFile;
class Error;

// The database engine: one for the program, created at its first use.
class DBEngine
{
public:
    [[nodiscard]] static DBEngine& instance();

    // Opens a version database for exclusive use. Checks, in this order, that the
    // file exists and is a file, that it can be written, that it is a version
    // database of this system and that the connect string's password matches.
    // A file held by anyone else fails at once with "file in use"; nothing waits.
    // Every open is exclusive; readOnly refuses every change.
    [[nodiscard]] std::unique_ptr<Database> OpenDatabase(const QString& name, bool exclusive, bool readOnly,
                                                         const QString& connect);

    // Opens a version that is to be read as it is and then replaced whole, as a compaction does:
    // checked and held as a writable open, but held by a lock taken by reading, so that the open
    // itself changes nothing of a damaged file (see openHeldUnchanged). Nothing can be stored through it.
    [[nodiscard]] std::unique_ptr<Database> OpenDatabaseUnchanged(const QString& name, const QString& connect);

    // Writes a complete, compacted copy of the source (opened exclusively with srcConnect)
    // to dstName, which must not exist yet. The copy opens with the same connect string.
    void CompactDatabase(const QString& srcName, const QString& dstName, const QString& srcConnect);
    // The same from a source that the caller holds open, and keeps holding until it has
    // put the copy in the source's place.
    void CompactDatabase(Database& source, const QString& dstName, const QString& srcConnect);

    // Repairs a version database (see Repair.h): a sound one is left as it is; any
    // other is rebuilt on the records of the reference version skeletonSource (the
    // built-in Korean numbering when that is empty, the file itself or unreadable)
    // with every text that can still be read, in a fresh file that replaces it once
    // sound. Nothing to salvage raises errors and leaves the file as it was.
    [[nodiscard]] RepairReport RepairDatabase(const QString& name, const QString& skeletonSource = {});

    // The errors of the last failed engine call.
    [[nodiscard]] const Errors& errors() const { return m_errors; }
    void recordError(const Error& error);

private:
    DBEngine() = default;
    std::shared_ptr<DatabaseFile> openFile(const QString& name, bool readOnly, const QString& connect,
                                           bool unchanged = false);

    Errors m_errors;
};

} // namespace versiondb
