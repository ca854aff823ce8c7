#include "versiondb/VerseCursor.h"

#include "versiondb/VersionStoreStatements.h"

namespace versiondb {

VerseCursor::VerseCursor(VersionStore& version, Fields fields) : m_version(version), m_fields(fields)
{
    sqlite::Statement& read = statement();
    if (!read.isPrepared()) {
        QStringList names = VersionFile::fieldNames();
        for (QString& name : names) {
            name = sqlite::quoted(name);
        }
        const QString order = QStringLiteral("ORDER BY %1, rowid").arg(names[kNumber]);
        read = sqlite::Statement(m_version.handle(),
                                 m_fields == Fields::All
                                     ? VersionStore::Statements::selectRecords(order)
                                     : VersionStore::Statements::selectRecords(order, names.first(kText).join(u", ")));
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
    return VersionStore::Statements::recordOf(read, m_fields == Fields::All ? kFieldCount : kText);
}

} // namespace versiondb
