#pragma once

#include "versiondb/Password.h"
#include "versiondb/Sqlite.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace versiondb {

// The repair of one version file in place. A sound file is left as it is; a
// file whose indexes are damaged gets them rebuilt; a file with damaged table
// pages gets every record that can still be read salvaged into a fresh file,
// which replaces the damaged one only once it is complete and checked. A file
// with nothing to salvage raises errors and is left as it was.
class Repair
{
public:
    explicit Repair(QString path) : m_path(std::move(path)) {}
    void run();

private:
    using Values = std::vector<QVariant>;

    [[noreturn]] void nothingToSalvage() const;
    [[nodiscard]] bool integrityOk(sqlite3* db) const;
    [[nodiscard]] bool rebuildIndexes(sqlite3* db) const;
    void readThroughTable(sqlite3* db);
    void readPages();
    // Writes the salvaged records into a fresh file and renames it over the damaged one,
    // which held (when it could be locked) keeps exclusively until then.
    void writeFresh(sqlite3* held);

    QString m_path;
    QStringList m_columns;
    std::map<qint64, Values> m_records;
    std::optional<PasswordVerifier> m_verifier;
};

} // namespace versiondb
