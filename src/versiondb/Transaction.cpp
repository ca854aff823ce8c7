#include "versiondb/Transaction.h"

#include "versiondb/Sqlite.h"
#include "versiondb/VersionStore.h"

namespace versiondb {

Transaction::Transaction(VersionStore& version) : Transaction(version.handle()) {}

Transaction::Transaction(sqlite3* db, Lock lock) : m_db(db)
{
    switch (lock) {
    case Lock::Deferred:
        sqlite::exec(m_db, "BEGIN DEFERRED");
        break;
    case Lock::Immediate:
        sqlite::exec(m_db, "BEGIN IMMEDIATE");
        break;
    case Lock::Exclusive:
        sqlite::exec(m_db, "BEGIN EXCLUSIVE");
        break;
    }
}

Transaction::~Transaction()
{
    rollback();
}

void Transaction::commit()
{
    if (m_done) {
        return;
    }
    sqlite::exec(m_db, "COMMIT");
    m_done = true;
}

void Transaction::rollback() noexcept
{
    if (m_done) {
        return;
    }
    m_done = true;
    // A failed statement may have ended the transaction already.
    if (sqlite3_get_autocommit(m_db) == 0) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

} // namespace versiondb
