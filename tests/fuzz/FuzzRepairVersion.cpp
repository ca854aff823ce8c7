// A small version damaged at random, then repaired: no crash; a repair that reports success
// leaves a file that opens with the password and reads back every record in the order of
// both indexes; one that fails leaves the file as it was; neither leaves anything beside it.
//
// The input is a list of damages, each an operation byte, a 24-bit position, a length byte
// and, for an overwrite, the bytes to write.
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRecords = 50;
constexpr int kPageSize = 4096;

void requireAt(bool condition, int line)
{
    if (!condition) {
        std::fprintf(stderr, "requirement of line %d not met\n", line);
        std::abort();
    }
}
#define require(condition) requireAt((condition), __LINE__)

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    require(dir.isValid());
    return dir;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The sound version every input starts from, made once: short and long texts, a Null one,
// and one text longer than a page.
const QByteArray& soundVersion()
{
    static const QByteArray bytes = [] {
        const QString path = folder().filePath(QStringLiteral("sound.dat"));
        versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
        {
            auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
            auto rs = db->OpenRecordset(QStringLiteral("본문"));
            versiondb::Transaction transaction(*db);
            for (int i = 1; i <= kRecords; ++i) {
                rs->AddNew();
                rs->Fields(QStringLiteral("번호")).setValue(i);
                rs->Fields(QStringLiteral("권")).setValue(1);
                rs->Fields(QStringLiteral("장")).setValue(1 + i / 31);
                rs->Fields(QStringLiteral("절")).setValue(1 + i % 31);
                rs->Fields(QStringLiteral("성경구절"))
                    .setValue(QStringLiteral("창 %1:%2").arg(1 + i / 31).arg(1 + i % 31));
                if (i % 7 != 0) {
                    const int repeat = i == 20 ? 400 : 1 + i % 5;
                    rs->Fields(QStringLiteral("본문"))
                        .setValue(QStringLiteral("태초에 하나님이 %1 ").arg(i).repeated(repeat));
                }
                rs->Update();
            }
            transaction.Commit();
            rs->Close();
            db->Close();
        }
        const QByteArray sound = bytesOf(path);
        require(QFile::remove(path));
        return sound;
    }();
    return bytes;
}

QByteArray damage(QByteArray file, const std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    while (at + 5 <= size && !file.isEmpty()) {
        const int operation = data[at] % 4;
        const qint64 position =
            ((qint64{data[at + 1]} << 16) | (qint64{data[at + 2]} << 8) | data[at + 3]) % file.size();
        const int length = 1 + data[at + 4];
        at += 5;
        switch (operation) {
        case 0: { // overwrite with the bytes that follow
            const auto n = static_cast<qint64>(std::min<std::size_t>(static_cast<std::size_t>(length), size - at));
            for (qint64 i = 0; i < n && position + i < file.size(); ++i) {
                file[position + i] = static_cast<char>(data[at + static_cast<std::size_t>(i)]);
            }
            at += static_cast<std::size_t>(n);
            break;
        }
        case 1: // cut short
            file.truncate(position);
            break;
        case 2: // fill a range with one byte
            for (qint64 i = position; i < std::min<qint64>(file.size(), position + qint64{length} * 16); ++i) {
                file[i] = static_cast<char>(length);
            }
            break;
        default: { // one page over another
            const qint64 pages = file.size() / kPageSize;
            if (pages >= 2) {
                const qint64 from = position % pages;
                const qint64 to = length % pages;
                file.replace(to * kPageSize, kPageSize, file.mid(from * kPageSize, kPageSize));
            }
            break;
        }
        }
    }
    return file;
}

// Every record, in the order of the index, with all its fields; the count read.
int readAll(versiondb::Recordset& rs, const QString& index)
{
    rs.setIndex(index);
    int read = 0;
    if (rs.RecordCount() == 0) {
        return 0;
    }
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        for (const QString& field : versiondb::VersionFile::fieldNames()) {
            (void)rs.Fields(field).Value();
        }
        require(++read <= rs.RecordCount());
    }
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray damaged = damage(soundVersion(), data, size);
    const QString path = folder().filePath(QStringLiteral("v.dat"));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(file.write(damaged) == damaged.size());
    }

    bool repaired = true;
    try {
        versiondb::DBEngine::instance().RepairDatabase(path);
    } catch (const versiondb::Error& error) {
        repaired = false;
        require(versiondb::DBEngine::instance().errors().Count() >= 1);
    }

    if (repaired) {
        try {
            auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
            auto rs = db->OpenRecordset(QStringLiteral("본문"));
            const int count = rs->RecordCount();
            require(readAll(*rs, QStringLiteral("번호")) == count);
            require(readAll(*rs, QStringLiteral("성경구절")) == count);
            rs->Close();
            db->Close();
        } catch (const versiondb::Error&) {
            std::abort();
        }
    } else {
        require(bytesOf(path) == damaged);
    }
    require(QDir(folder().path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) ==
            QStringList{QStringLiteral("v.dat")});
    require(QFile::remove(path));
    return 0;
}
