// A small version damaged at random, then repaired: no crash; a repair that reports success leaves a file
// that opens with the password and reads back every record in the order of both indexes; one that fails
// leaves the file as it was; neither leaves anything beside it. The input is a list of damages, each an
// operation byte, a 24-bit position, a length byte and, for an overwrite, the bytes to write.
#include "FuzzRequire.h"
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

namespace {

QString folder()
{
    static const QTemporaryDir dir;
    require(dir.isValid());
    return dir.path();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

std::unique_ptr<versiondb::Database> open(const QString& path)
{
    return versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
}

// The sound version every input starts from, made once: 50 records of short and long texts, every
// seventh Null, and one text longer than a page.
const QByteArray& soundVersion()
{
    static const QByteArray bytes = [] {
        const QString path = folder() + QStringLiteral("/sound.dat");
        versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
        auto db = open(path);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        versiondb::Transaction transaction(*db);
        const QStringList fields = versiondb::VersionFile::fieldNames(); // 번호, 권, 장, 절, 성경구절, 본문
        for (int i = 1; i <= 50; ++i) {
            const QString text = QStringLiteral("태초에 하나님이 %1 ").arg(i).repeated(i == 20 ? 400 : 1 + i % 5);
            const QString reference = QStringLiteral("창 %1:%2").arg(1 + i / 31).arg(1 + i % 31);
            const QVariantList values = {i, 1, 1 + i / 31, 1 + i % 31, reference, text};
            rs->AddNew();
            for (qsizetype f = 0; f < values.size() - (i % 7 == 0 ? 1 : 0); ++f) {
                rs->Fields(fields[f]).setValue(values[f]);
            }
            rs->Update();
        }
        transaction.Commit();
        rs->Close();
        db->Close();
        const QByteArray sound = bytesOf(path);
        require(QFile::remove(path));
        return sound;
    }();
    return bytes;
}

QByteArray damage(QByteArray file, const std::uint8_t* data, std::size_t size)
{
    constexpr qint64 kPageSize = 4096;
    for (std::size_t at = 0; at + 5 <= size && !file.isEmpty(); at += 5) {
        const qint64 position =
            ((qint64{data[at + 1]} << 16) | (qint64{data[at + 2]} << 8) | data[at + 3]) % file.size();
        const int length = 1 + data[at + 4];
        const qint64 pages = file.size() / kPageSize;
        switch (data[at] % 4) {
        case 0: // overwrite with the bytes that follow
            for (int i = 0; i < length && at + 5 < size; ++i, ++at) {
                if (position + i < file.size()) {
                    file[position + i] = static_cast<char>(data[at + 5]);
                }
            }
            break;
        case 1: // cut short
            file.truncate(position);
            break;
        case 2: // fill a range with one byte
            for (qint64 i = position; i < std::min<qint64>(file.size(), position + qint64{length} * 16); ++i) {
                file[i] = static_cast<char>(length);
            }
            break;
        default: // one page over another
            if (pages >= 2) {
                file.replace(length % pages * kPageSize, kPageSize, file.mid(position % pages * kPageSize, kPageSize));
            }
        }
    }
    return file;
}

// Reads every record in the order of the index, with all its fields; the count read.
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
    const QString path = folder() + QStringLiteral("/v.dat");
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(damaged) == damaged.size());
    file.close();
    bool repaired = true;
    try {
        versiondb::DBEngine::instance().RepairDatabase(path);
    } catch (const versiondb::Error&) {
        repaired = false;
        require(versiondb::DBEngine::instance().errors().Count() >= 1);
    }
    if (repaired) { // an engine error now fails the run as uncaught
        auto db = open(path);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        const int count = rs->RecordCount();
        require(readAll(*rs, QStringLiteral("번호")) == count && readAll(*rs, QStringLiteral("성경구절")) == count);
        rs->Close();
        db->Close();
    } else {
        require(bytesOf(path) == damaged);
    }
    require(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) ==
            QStringList{QStringLiteral("v.dat")});
    require(QFile::remove(path));
    return 0;
}
