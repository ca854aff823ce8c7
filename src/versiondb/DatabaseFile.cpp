#include "versiondb/DatabaseFile.h"

#include "versiondb/Error.h"
#include "versiondb/Recordset.h"

#include <algorithm>

namespace versiondb {

sqlite3* DatabaseFile::handle() const
{
    if (!m_db) {
        raise(errorNumber::ObjectClosed);
    }
    return m_db.get();
}

void DatabaseFile::detach(Recordset* recordset)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), recordset), m_recordsets.end());
}

void DatabaseFile::close() noexcept
{
    // Each record set detaches itself as it closes.
    while (!m_recordsets.empty()) {
        m_recordsets.back()->Close();
    }
    // The journal goes with the connection.
    m_db.reset();
}

} // namespace versiondb
