#pragma once

#include <QByteArray>
#include <QVariant>
#include <functional>
#include <vector>

namespace versiondb {

// Reads records straight from the pages of an SQLite database file, without
// the b-tree above them: what a damaged file still holds on its intact table
// leaf pages. Every offset is checked against the page it lies in.
class PageSalvage
{
public:
    struct Record
    {
        qint64 rowid = 0;
        std::vector<QVariant> values; // Null as an invalid QVariant, blobs as QByteArray
        // For each value, whether it was text with bytes that are not UTF-8 (each such byte is U+FFFD now).
        std::vector<bool> invalidText;
    };

    explicit PageSalvage(QByteArray file);

    // The records of every table leaf page that have exactly columnCount values, but for
    // those whose rowid known says is known already (they are not even decoded).
    [[nodiscard]] std::vector<Record> records(int columnCount,
                                              const std::function<bool(qint64 rowid)>& known = {}) const;

    [[nodiscard]] int pageSize() const { return m_pageSize; }

private:
    void readLeaf(qint64 page, int columnCount, const std::function<bool(qint64)>& known,
                  std::vector<Record>& out) const;
    [[nodiscard]] bool payload(qint64 cellStart, qint64 pageEnd, qint64 payloadSize, QByteArray& out) const;
    [[nodiscard]] static bool decode(const QByteArray& payload, int columnCount, Record& record);

    QByteArray m_file;
    int m_pageSize = 4096;
    int m_usable = 4096;
};

} // namespace versiondb
