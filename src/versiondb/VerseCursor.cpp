#include "versiondb/VerseCursor.h"

#include "versiondb/VersionStoreStatements.h"

namespace versiondb {

VerseCursor::VerseCursor(VersionStore& version, Fields fields) : m_version(version), m_fields(fields)
{
    sqlite::Statement& read = statement();
    if (!read.isPrepared()) {
        const QString order =
            QStringLiteral("ORDER BY %1, rowid").arg(sqlite::quoted(VersionFile::fieldNames()[kNumber]));
        read = sqlite::Statement(m_version.handle(), VersionStore::Statements::selectRecords(
                                                         order, VersionFile::quotedFieldList(fieldCount())));
    }
    read.reset();
}

VerseCursor::~VerseCursor()
{
    if (m_version.m_statements) {
        statement().reset();
    }
}

sqlite::Statement& VerseCursor::statement() const
{
    VersionStore::Statements& s = m_version.statements();
    return m_fields == Fields::All ? s.read : s.readSkeleton;
}

std::optional<VerseRecord> VerseCursor::next()
{
    sqlite::Statement& read = statement();
    if (!read.step()) {
        return std::nullopt;
    }
    return VersionStore::Statements::recordOf(read, fieldCount());
}

} // namespace versiondb
