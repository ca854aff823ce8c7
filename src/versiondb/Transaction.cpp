#include "versiondb/Transaction.h"

#include "versiondb/Sqlite.h"
#include "versiondb/VersionStore.h"

namespace versiondb {

Transaction::Transaction(VersionStore& version) : Transaction(version.handle()) {}

Transaction::Transaction(sqlite3* db, Lock lock) : m_db(db)
{
    // By Lock, in its order.
    static constexpr const char* kBegin[] = {"BEGIN DEFERRED", "BEGIN IMMEDIATE", "BEGIN EXCLUSIVE"};
    sqlite::exec(m_db, kBegin[static_cast<int>(lock)]);
}

Transaction::~Transaction()
{
    // A failed statement may have ended the transaction already.
    if (!m_done && sqlite3_get_autocommit(m_db) == 0) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit()
{
    if (m_done) {
        return;
    }
    sqlite::exec(m_db, "COMMIT");
    m_done = true;
}

} // namespace versiondb
