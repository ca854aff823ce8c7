#pragma once

#include "versiondb/VersionStore.h"

namespace versiondb::sqlite {
class Statement;
}

#include <optional>

namespace versiondb {

// Steps through every record of an open version in the order of 번호 (records of one 번호 in the
// order added), one record at a time, so that a reader holds only the records it keeps. The
// statement is the version's own, finalized when the version closes: one cursor at a time on a
// version, and none used after it has closed. The file is read through SQLite's page cache, not
// mapped (see VersionStore::readVerses).
class VerseCursor
{
public:
    enum class Fields
    {
        All,
        Skeleton, // every field but 본문, which stays Null: the text is neither decoded nor copied
    };

    explicit VerseCursor(VersionStore& version, Fields fields = Fields::All);
    VerseCursor(const VerseCursor&) = delete;
    VerseCursor& operator=(const VerseCursor&) = delete;
    // Ends the read, so that no statement keeps it open.
    ~VerseCursor();

    // The next record, or nothing after the last.
    [[nodiscard]] std::optional<VerseRecord> next();

private:
    // The version's statement for these fields.
    [[nodiscard]] sqlite::Statement& statement() const;

    VersionStore& m_version;
    Fields m_fields;
};

} // namespace versiondb
