// Any bytes as an import file (a text, USFM or XML file, as its start says), and behind a key line as an IMP file:
// read, checked and logged without a crash, every line of a text or IMP file either accepted, blank, a heading or
// reported, the log (asked for in code page 949) with CR LF line ends.
#include "FuzzRequire.h"
#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "import/TextFileChecker.h"
#include "import/TextFileReader.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

using namespace importer;

namespace {

void checkFile(const QByteArray& bytes, bool imp)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("입력.txt"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    file.close();
    qint64 lines = 0;
    TextFileReader reader(path);
    require(reader.open() && (!imp || reader.format() == importer::SourceFormat::Imp));
    TextFileReader::ReadResult read;
    for (QString line; (read = reader.readLine(line)) == TextFileReader::ReadResult::Line;) {
        ++lines;
    }
    require(read == TextFileReader::ReadResult::End && (!bytes.isEmpty() || lines == 0));
    // A USFM file may hold several verses a line, each after a marker of its own, and one finding of the text before
    // its first book.
    const qint64 mostEntries = reader.format() == SourceFormat::Usfm ? bytes.count('\\') + 1 : lines;
    QStringList accepted;
    // The log as --encoding cp949 writes it: code page 949 with CR LF, the form whose bytes are the tightest to check.
    const ErrorLog log(folder.path(), true);
    ErrorLogWriter logWriter(log, QLocale::c());
    const CheckResult result = checkTextFiles(
        {path}, [](const QString& reference) { return reference.size() % 2 == 0; },
        [&accepted](const QString& reference, const QString&) { accepted.append(reference); },
        [&logWriter](const QString& entry) { return logWriter.append(entry); }, {});
    require(result.succeeded() && !logWriter.commit().has_value());
    // A text or IMP file gives at most one entry per line, a USFM file one per marker, plus the two of the heading
    // (an XML file may hold any number of verses on a line); a log exactly when there are entries.
    const bool bounded = reader.format() != SourceFormat::Xml;
    require((result.errorEntries == 0 || result.errorEntries >= 3) && !accepted.contains(QString()) &&
            (!bounded || accepted.size() + qMax<qint64>(0, result.errorEntries - 2) <= mostEntries) &&
            log.exists() == (result.errorEntries != 0));
    QFile written(log.path());
    if (written.open(QIODevice::ReadOnly)) {
        const QByteArray logBytes = written.readAll();
        QStringDecoder decoder("windows-949");
        require(QString(decoder.decode(logBytes)).count(QStringLiteral("\r\n")) == result.errorEntries + 2 &&
                logBytes.endsWith("\r\n") && !decoder.hasError() && !log.remove().has_value());
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
