#pragma once

struct sqlite3;

namespace versiondb {

class VersionStore;

// One transaction on a version: begun when constructed, rolled back when it leaves scope
// without Commit. Work that stores many records at once runs inside one, so that a crash
// leaves all of it or none of it.
class Transaction
{
public:
    enum class Lock
    {
        Deferred,  // takes locks as statements need them: an attached file that is only read is
                   // never write-locked, so the commit needs no journal across files
        Immediate, // takes the write lock at once, on every attached file
        Exclusive, // also keeps every reader out
    };

    explicit Transaction(VersionStore& version);
    explicit Transaction(sqlite3* db, Lock lock = Lock::Immediate);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    // Rolls back unless committed; never throws.
    ~Transaction();

    // Makes the work durable; a failure raises the engine error and leaves the transaction to roll back.
    void commit();
    void rollback() noexcept;

private:
    sqlite3* m_db = nullptr;
    bool m_done = false;
};

} // namespace versiondb
