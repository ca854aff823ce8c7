// Any bytes as an import text file, and behind a key line as an IMP file: read, checked and logged
// without a crash, every line (every entry) either accepted, blank, a heading or reported, and the
// log readable back as code page 949 with CR LF line ends.
#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "import/TextFileChecker.h"
#include "import/TextFileReader.h"

#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    require(dir.isValid());
    return dir;
}

void checkFile(const QByteArray& bytes, bool imp)
{
    const QString path = folder().filePath(QStringLiteral("입력.txt"));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(file.write(bytes) == bytes.size());
    }

    // Count the lines the reader sees.
    qint64 lines = 0;
    {
        importer::TextFileReader reader(path);
        require(reader.open());
        require(!imp || reader.isImp());
        QString line;
        for (;;) {
            const auto result = reader.readLine(line);
            require(result != importer::TextFileReader::ReadResult::Failed);
            if (result == importer::TextFileReader::ReadResult::End) {
                break;
            }
            ++lines;
        }
    }
    require(!bytes.isEmpty() || lines == 0);

    qint64 accepted = 0;
    const importer::ErrorLog log(folder().path());
    importer::ErrorLogWriter logWriter(log, QLocale::c());
    const importer::CheckResult result = importer::checkTextFiles(
        {path}, [](const QString& reference) { return reference.size() % 2 == 0; },
        [&accepted](const QString& reference, const QString&) {
            require(!reference.isEmpty());
            ++accepted;
        },
        [&logWriter](const QString& entry) { return logWriter.append(entry); }, {});
    require(result.succeeded());
    require(!logWriter.commit().has_value());
    // At most one entry per line, plus the two of the heading.
    require(result.errorEntries == 0 || result.errorEntries >= 3);
    require(accepted + qMax<qint64>(0, result.errorEntries - 2) <= lines);
    require(log.exists() == (result.errorEntries != 0));

    if (result.errorEntries != 0) {
        QFile written(log.path());
        require(written.open(QIODevice::ReadOnly));
        const QByteArray logBytes = written.readAll();
        require(logBytes.endsWith("\r\n"));
        QStringDecoder decoder("windows-949");
        const QString text = decoder.decode(logBytes);
        require(!decoder.hasError());
        require(text.count(QStringLiteral("\r\n")) == result.errorEntries + 2);
        require(!log.remove().has_value());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkFile(bytes, false);
    checkFile("$$$" + bytes, true);
    return 0;
}
