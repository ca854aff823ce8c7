#pragma once

#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"
#include "versiondb/Sqlite.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace versiondb {

// The repair of one version file. A sound file (it opens with the password,
// passes the integrity check and has the table with its six fields and both
// indexes) is left as it is. Any other file has every record that can still
// be read salvaged into a fresh file with both indexes and a verifier of the
// database password; the fresh file replaces the damaged one only once it
// is complete and passes the same checks. A file with nothing to salvage
// raises errors and is left as it was. A symbolic link is followed to the
// file it points to, and stays a link.
class Repair
{
public:
    explicit Repair(QString path) : m_path(std::move(path)) {}
    void run();

private:
    using Values = std::vector<QVariant>;

    [[noreturn]] void nothingToSalvage() const;
    // True when the held file needs no repair.
    [[nodiscard]] bool sound(sqlite3* db) const;
    // True when the file is shorter than its pages: its last page is incomplete or missing.
    [[nodiscard]] bool lostPages(sqlite3* db) const;
    void keepVerifier(const std::optional<PasswordVerifier>& verifier);
    void readThroughTable(sqlite3* db);
    void readPages();
    // Writes the salvaged records into a fresh file, checks it and renames it over the damaged one,
    // which held (when it could be locked) keeps exclusively until then.
    void writeFresh(sqlite3* held);
    void fill(const QString& fresh) const;
    // Raises the error of the first check that the fresh file fails.
    static void checkFresh(const QString& fresh);

    QString m_path;
    std::map<qint64, Values> m_records;
    // The table was read to its end through the database, so an empty salvage is an empty version.
    bool m_tableReadThrough = false;
    // The verifier of the damaged file, kept only when it matches the password.
    std::optional<PasswordVerifier> m_verifier;
    // What the file lacks, named first when nothing can be salvaged.
    int m_lack = errorNumber::UnrecognizedFormat;
};

} // namespace versiondb
