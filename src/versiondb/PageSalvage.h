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
        // Whether the record's header accounts for exactly the bytes of its payload; SQLite never writes
        // it otherwise, so a difference is a damaged length (of a value, or of the payload).
        bool whole = true;
    };

    explicit PageSalvage(QByteArray file);

    // The records of every table leaf page that have exactly columnCount values. Those whose
    // rowid known says is known already are not decoded: they come only when not whole, without values.
    [[nodiscard]] std::vector<Record> records(int columnCount,
                                              const std::function<bool(qint64 rowid)>& known = {}) const;

    [[nodiscard]] int pageSize() const { return m_pageSize; }

private:
    void readLeaf(qint64 page, int columnCount, const std::function<bool(qint64)>& known,
                  std::vector<Record>& out) const;
    [[nodiscard]] bool payload(qint64 cellStart, qint64 pageEnd, qint64 payloadSize, QByteArray& out) const;
    [[nodiscard]] static bool decode(const QByteArray& payload, int columnCount, Record& record);
    // The types of the values a record's header lists, and where its body starts; false when it lists
    // more than maxColumns values or does not fit the payload.
    [[nodiscard]] static bool readHeader(const QByteArray& payload, int maxColumns, std::vector<qint64>& types,
                                         qint64& body);
    // The number of bytes a value of the type takes, or -1 for a type that does not exist.
    [[nodiscard]] static qint64 valueSize(qint64 type);

    QByteArray m_file;
    int m_pageSize = 4096;
    int m_usable = 4096;
};

} // namespace versiondb
