// A small version damaged at random, then repaired: no crash; a repair that succeeds leaves a file that opens, reads
// back every record through both indexes and whose storage is sound, and keeps the damaged file beside it only when
// it could not bring back every text; one that fails leaves the bytes as they were; nothing else is left beside it. The
// input is a list of damages: operation byte, 24-bit position, length byte, bytes to write.
#include "FuzzRequire.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Repair.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

using namespace versiondb;

namespace {

const QTemporaryDir folder;      // where the fuzzed file is repaired: nothing else may appear in it
const QTemporaryDir soundFolder; // where the sound version is made

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The sound version every input starts from: 50 records of short and long texts, every seventh Null, and
// one text longer than a page. Without texts, it is the reference the repair rebuilds on.
QByteArray soundVersion(const QString& name = QStringLiteral("sound.dat"), bool texts = true)
{
    const QString path = soundFolder.filePath(name);
    // A fixed salt, so that every run damages the same bytes for the same input.
    PasswordVerifier verifier = PasswordVerifier::forDatabasePassword();
    verifier.salt = QByteArray(verifier.salt.size(), 's');
    verifier.key = deriveKey(passwordOf(passwordConnect()).toUtf8(), verifier.salt, verifier.iterations,
                             static_cast<int>(verifier.key.size()));
    VersionFile::create(path, verifier);
    auto version = VersionStore::openDatabase(path);
    for (int i = 1; i <= 50; ++i) {
        const QString text = QStringLiteral("태초에 하나님이 %1 ").arg(i).repeated(i == 20 ? 400 : 1 + i % 5);
        const QString reference = QStringLiteral("창 %1:%2").arg(1 + i / 31).arg(1 + i % 31);
        version->addRecord({i, 1, 1 + i / 31, 1 + i % 31, reference, texts && i % 7 ? QVariant(text) : QVariant()});
    }
    version->close();
    return bytesOf(path);
}

QByteArray damage(QByteArray file, const std::uint8_t* data, std::size_t size)
{
    constexpr qint64 kPageSize = 4096;
    for (std::size_t at = 0; at + 5 <= size && !file.isEmpty(); at += 5) {
        const qint64 position =
            ((qint64{data[at + 1]} << 16) | (qint64{data[at + 2]} << 8) | data[at + 3]) % file.size();
        const int length = 1 + data[at + 4];
        const qint64 pages = file.size() / kPageSize;
        switch (data[at] % 3) {
        case 0: // overwrite with the bytes that follow
            for (int i = 0; i < length && at + 5 < size && position + i < file.size(); ++i, ++at) {
                file[position + i] = static_cast<char>(data[at + 5]);
            }
            break;
        case 1: // cut short
            file.truncate(position);
            break;
        default: // one page over another
            if (pages >= 2) {
                file.replace(length % pages * kPageSize, kPageSize, file.mid(position % pages * kPageSize, kPageSize));
            }
        }
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QByteArray sound = soundVersion();
    static const QString reference = [] {
        (void)soundVersion(QStringLiteral("reference.dat"), false);
        return soundFolder.filePath(QStringLiteral("reference.dat"));
    }();
    const QByteArray damaged = damage(sound, data, size);
    const QString path = folder.filePath(QStringLiteral("v.dat"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(damaged) == damaged.size());
    file.close();
    bool repaired = true;
    RepairReport report;
    try {
        report = repairDatabase(path, reference);
    } catch (const Error&) {
        repaired = false;
        require(bytesOf(path) == damaged);
    }
    if (repaired) { // an engine error now fails the run as uncaught
        auto version = VersionStore::openDatabase(path);
        // Every record with all its fields, and each found again through both indexes.
        std::vector<VerseRecord> records;
        version->readVerses([&](const VerseRecord& r) { records.push_back(r); });
        require(qint64(records.size()) == version->recordCount());
        for (const VerseRecord& r : records) {
            require(version->seek(r[kReference].toString()).has_value() && version->seek(r[kNumber].toLongLong()));
        }
        // Every record of the reference is back, and the file is sound: a second repair leaves it as it is.
        require(report.asFound || records.size() >= 50);
        version->close();
        require(report.asFound || !repairDatabase(path, reference).rewritten);
    }
    if (!report.keptOriginal.isEmpty()) {
        require((!report.whole() || report.historyLost) && QFile::remove(report.keptOriginal));
    }
    require(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) ==
            QStringList{QStringLiteral("v.dat")});
    return 0;
}
