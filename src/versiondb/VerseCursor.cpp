#include "versiondb/VerseCursor.h"

#include "versiondb/VersionStoreStatements.h"

namespace versiondb {

VerseCursor::VerseCursor(VersionStore& version) : m_version(version)
{
    VersionStore::Statements& s = m_version.statements();
    if (!s.read.isPrepared()) {
        s.read = sqlite::Statement(
            m_version.handle(),
            VersionStore::Statements::selectRecords(
                QStringLiteral("ORDER BY %1, rowid").arg(sqlite::quoted(VersionFile::fieldNames()[kNumber]))));
    }
    s.read.reset();
}

VerseCursor::~VerseCursor()
{
    if (m_version.m_statements) {
        m_version.m_statements->read.reset();
    }
}

std::optional<VerseRecord> VerseCursor::next()
{
    sqlite::Statement& read = m_version.statements().read;
    if (!read.step()) {
        return std::nullopt;
    }
    return VersionStore::Statements::recordOf(read);
}

} // namespace versiondb
