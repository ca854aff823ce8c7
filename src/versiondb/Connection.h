#pragma once

#include <memory>

struct sqlite3;

namespace versiondb::sqlite {

// Closes a connection; what a connection owns (statements, locks, the journal) goes with it.
struct Close
{
    void operator()(sqlite3* db) const noexcept;
};
using Connection = std::unique_ptr<sqlite3, Close>;

} // namespace versiondb::sqlite
