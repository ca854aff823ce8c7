#include "versiondb/PageSalvage.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace versiondb {

namespace {

constexpr int kHeaderSize = 100;
constexpr unsigned char kTableLeaf = 0x0d;

// A big-endian number of up to eight bytes at at.
quint64 be(const QByteArray& data, qint64 at, int bytes)
{
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i) {
        v = (v << 8) | static_cast<unsigned char>(data[at + i]);
    }
    return v;
}

// A varint at at, not reading past end; false when it does not fit.
bool varint(const QByteArray& data, qint64 at, qint64 end, qint64& value, int& length)
{
    quint64 v = 0;
    for (int i = 0; i < 9; ++i) {
        if (at + i >= end) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(data[at + i]);
        // The ninth byte counts whole.
        v = i == 8 ? (v << 8) | byte : (v << 7) | (byte & 0x7f);
        if (i == 8 || (byte & 0x80) == 0) {
            length = i + 1;
            value = static_cast<qint64>(v);
            return true;
        }
    }
    return false;
}

} // namespace

PageSalvage::PageSalvage(QByteArray file) : m_file(std::move(file))
{
    if (m_file.size() >= kHeaderSize) {
        auto size = static_cast<quint32>(be(m_file, 16, 2));
        if (size == 1) {
            size = 65536;
        }
        const auto reserved = static_cast<unsigned char>(m_file[20]);
        if (size >= 512 && size <= 65536 && (size & (size - 1)) == 0 && size - reserved >= 480) {
            m_pageSize = static_cast<int>(size);
            m_usable = static_cast<int>(size - reserved);
        }
    }
}

std::vector<PageSalvage::Record> PageSalvage::records(int columnCount, const std::function<bool(qint64)>& known) const
{
    std::vector<Record> out;
    // An incomplete last page is read as far as it goes.
    const qint64 pages = (m_file.size() + m_pageSize - 1) / m_pageSize;
    for (qint64 page = 1; page <= pages; ++page) {
        readLeaf(page, columnCount, known, out);
    }
    return out;
}

void PageSalvage::readLeaf(qint64 page, int columnCount, const std::function<bool(qint64)>& known,
                           std::vector<Record>& out) const
{
    const qint64 start = (page - 1) * m_pageSize;
    const qint64 header = start + (page == 1 ? kHeaderSize : 0);
    const qint64 end = std::min<qint64>(start + m_usable, m_file.size());
    if (header + 8 > end || static_cast<unsigned char>(m_file[header]) != kTableLeaf) {
        return;
    }
    const auto cells = static_cast<quint32>(be(m_file, header + 3, 2));
    if (header + 8 + qint64(cells) * 2 > end) {
        return;
    }
    for (quint32 c = 0; c < cells; ++c) {
        const qint64 cell = start + static_cast<qint64>(be(m_file, header + 8 + qint64(c) * 2, 2));
        if (cell < header + 8 || cell >= end) {
            continue;
        }
        qint64 payloadSize = 0;
        qint64 rowid = 0;
        int n1 = 0;
        int n2 = 0;
        if (!varint(m_file, cell, end, payloadSize, n1) || !varint(m_file, cell + n1, end, rowid, n2)) {
            continue;
        }
        if (payloadSize <= 0 || payloadSize > 1'000'000'000 || rowid <= 0) {
            continue;
        }
        QByteArray data;
        if (!payload(cell + n1 + n2, end, payloadSize, data)) {
            continue;
        }
        Record record;
        record.rowid = rowid;
        if (known && known(rowid)) {
            // Fewer values are another table's record; more, or bytes not accounted for, a damaged length.
            std::vector<qint64> types;
            qint64 body = 0;
            const bool read = readHeader(data, columnCount + 1, types, body);
            for (const qint64 type : types) {
                body += valueSize(type);
            }
            if (static_cast<int>(types.size()) >= columnCount &&
                (!read || types.size() > std::size_t(columnCount) || body != data.size())) {
                record.whole = false;
                out.push_back(std::move(record));
            }
        } else if (decode(data, columnCount, record)) {
            out.push_back(std::move(record));
        }
    }
}

bool PageSalvage::payload(qint64 at, qint64 pageEnd, qint64 payloadSize, QByteArray& out) const
{
    const qint64 maxLocal = m_usable - 35;
    qint64 local = payloadSize;
    if (payloadSize > maxLocal) {
        const qint64 minLocal = (qint64(m_usable - 12) * 32 / 255) - 23;
        const qint64 k = minLocal + ((payloadSize - minLocal) % (m_usable - 4));
        local = k <= maxLocal ? k : minLocal;
    }
    if (at + local > pageEnd) {
        return false;
    }
    out = m_file.mid(at, local);
    if (local == payloadSize) {
        return true;
    }
    if (at + local + 4 > pageEnd) {
        return false;
    }
    auto next = static_cast<qint64>(be(m_file, at + local, 4));
    const qint64 pages = (m_file.size() + m_pageSize - 1) / m_pageSize;
    qint64 hops = 0;
    while (out.size() < payloadSize) {
        if (next < 1 || next > pages || ++hops > pages) {
            return false;
        }
        const qint64 start = (next - 1) * m_pageSize;
        const qint64 take = std::min<qint64>(m_usable - 4, payloadSize - out.size());
        // A page cut short by the end of the file ends the chain.
        if (start + 4 + take > m_file.size()) {
            return false;
        }
        out += m_file.mid(start + 4, take);
        next = static_cast<qint64>(be(m_file, start, 4));
    }
    return true;
}

bool PageSalvage::readHeader(const QByteArray& payload, int maxColumns, std::vector<qint64>& types, qint64& body)
{
    const qint64 size = payload.size();
    qint64 headerSize = 0;
    int n = 0;
    if (!varint(payload, 0, size, headerSize, n) || headerSize < n || headerSize > size) {
        return false;
    }
    types.clear();
    qint64 at = n;
    while (at < headerSize) {
        qint64 type = 0;
        int len = 0;
        if (!varint(payload, at, headerSize, type, len) || type < 0 || valueSize(type) < 0 ||
            static_cast<int>(types.size()) == maxColumns) {
            return false;
        }
        types.push_back(type);
        at += len;
    }
    body = headerSize;
    return true;
}

qint64 PageSalvage::valueSize(qint64 type)
{
    static constexpr int kIntBytes[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type >= 0 && type <= 9) {
        return kIntBytes[type];
    }
    return type >= 12 ? (type - 12) / 2 : -1;
}

bool PageSalvage::decode(const QByteArray& payload, int columnCount, Record& record)
{
    std::vector<QVariant>& values = record.values;
    const qint64 size = payload.size();
    std::vector<qint64> types;
    qint64 headerEnd = 0;
    if (!readHeader(payload, columnCount, types, headerEnd) || static_cast<int>(types.size()) != columnCount) {
        return false;
    }
    qint64 body = headerEnd;
    values.clear();
    record.invalidText.assign(types.size(), false);
    for (const qint64 type : types) {
        if (type == 0) {
            values.emplace_back();
        } else if (type >= 1 && type <= 7) { // an integer of 1 to 8 bytes, or a real of 8
            const auto bytes = static_cast<int>(valueSize(type));
            if (body + bytes > size) {
                return false;
            }
            const quint64 v = be(payload, body, bytes);
            body += bytes;
            const int shift = 64 - bytes * 8;
            const qint64 signedValue = shift > 0 ? static_cast<qint64>(v << shift) >> shift : static_cast<qint64>(v);
            double d = 0;
            if (type == 7) {
                std::memcpy(&d, &v, sizeof d);
                values.emplace_back(d);
            } else if (signedValue >= std::numeric_limits<int>::min() &&
                       signedValue <= std::numeric_limits<int>::max()) {
                values.emplace_back(static_cast<int>(signedValue));
            } else {
                values.emplace_back(static_cast<qlonglong>(signedValue));
            }
        } else if (type == 8 || type == 9) {
            values.emplace_back(static_cast<int>(type - 8));
        } else if (type >= 12) {
            const qint64 length = (type - 12) / 2;
            if (body + length > size) {
                return false;
            }
            const QByteArray bytes = payload.mid(body, length);
            body += length;
            if (type % 2 == 0) {
                values.emplace_back(bytes);
            } else {
                record.invalidText[values.size()] = !platform::isWellFormedUtf8(bytes);
                values.emplace_back(QString::fromUtf8(bytes));
            }
        } else {
            return false;
        }
    }
    record.whole = body == size;
    return true;
}

} // namespace versiondb
