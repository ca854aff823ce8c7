#pragma once

#include "platform/RunControl.h"
#include "versiondb/Connection.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

namespace versiondb::sqlite {

struct Finalize
{
    void operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, Finalize>;

// Raises the engine error for a failed SQLite call on db.
[[noreturn]] void fail(sqlite3* db, int code);

// Opens a connection without creating the file. The handle is kept even when
// the open fails, so that it is always closed; a failure raises the engine error.
[[nodiscard]] Connection open(const QString& path, int flags);

// Runs statements that return no rows; a failure raises the engine error.
void exec(sqlite3* db, const char* sql);

// A prepared statement, reset after each use.
class Statement
{
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql);

    [[nodiscard]] bool isPrepared() const { return m_stmt != nullptr; }
    [[nodiscard]] sqlite3_stmt* handle() const { return m_stmt.get(); }
    void bind(int index, const QVariant& value);
    void bindInt(int index, qint64 value);
    // SQLITE_ROW gives true, SQLITE_DONE false; anything else raises the engine error and resets.
    [[nodiscard]] bool step();
    void reset();
    [[nodiscard]] QVariant column(int index) const;
    [[nodiscard]] qint64 columnInt(int index) const;
    [[nodiscard]] QString columnText(int index) const;
    [[nodiscard]] QByteArray columnBlob(int index) const;
    [[nodiscard]] int columnType(int index) const;

private:
    sqlite3* m_db = nullptr;
    StatementHandle m_stmt;
};

// Resets a statement when it leaves scope, so no statement keeps a read open.
class ResetGuard
{
public:
    explicit ResetGuard(Statement& stmt) : m_stmt(stmt) {}
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;
    ~ResetGuard() { m_stmt.reset(); }

private:
    Statement& m_stmt;
};

// While it lives, a statement of db that runs long stops with SQLITE_INTERRUPT once control is cancelled: SQLite asks
// every thousand steps of its machine. A null control changes nothing.
class CancelWatch
{
public:
    CancelWatch(sqlite3* db, const platform::RunControl* control) : m_db(control != nullptr ? db : nullptr)
    {
        if (m_db != nullptr) {
            sqlite3_progress_handler(m_db, kSteps, &CancelWatch::stop,
                                     const_cast<void*>(static_cast<const void*>(control)));
        }
    }
    CancelWatch(const CancelWatch&) = delete;
    CancelWatch& operator=(const CancelWatch&) = delete;
    ~CancelWatch()
    {
        if (m_db != nullptr) {
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        }
    }

private:
    static int stop(void* control) { return static_cast<const platform::RunControl*>(control)->cancelled() ? 1 : 0; }
    static constexpr int kSteps = 1000;
    sqlite3* m_db;
};

// Quotes an identifier for SQL.
[[nodiscard]] QString quoted(const QString& identifier);

} // namespace versiondb::sqlite
