#include "versiondb/Database.h"

#include "versiondb/DatabaseFile.h"
#include "versiondb/Error.h"
#include "versiondb/Recordset.h"

namespace versiondb {

Database::Database(std::shared_ptr<DatabaseFile> file) : m_file(std::move(file)) {}

Database::~Database()
{
    Close();
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& name, int type)
{
    if (!m_file || !m_file->isOpen()) {
        raise(errorNumber::ObjectClosed);
    }
    if (type != dbOpenTable) {
        raise(errorNumber::NotSupported);
    }
    return std::unique_ptr<Recordset>(new Recordset(m_file, name));
}

void Database::Close()
{
    if (m_file) {
        m_file->close();
    }
}

QString Database::Name() const
{
    return m_file ? m_file->path() : QString();
}

bool Database::isOpen() const
{
    return m_file && m_file->isOpen();
}

} // namespace versiondb
