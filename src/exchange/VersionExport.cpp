#include "exchange/VersionExport.h"

#include "platform/FileErrorDescriptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace exchange {

namespace {

// Writes one file under a temporary name beside it, then puts it in place of the file
// of its name, so that a failure never leaves a file cut short under that name.
// Nothing is flushed to the disk: the version, not its export, is what must survive.
std::optional<platform::FileFailure> writeFile(const QString& path, const QByteArray& bytes)
{
    const QString part = path + QStringLiteral(".part");
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return platform::FileFailure{path, platform::FileErrorDescriptions::openForWritingFailure(path)};
    }
    const bool written = out.write(bytes) == bytes.size() && out.flush();
    out.close();
    std::error_code error;
    if (written && out.error() == QFileDevice::NoError) {
        // The old file goes first: ext4 flushes a file renamed over another to the disk,
        // which would cost a wait on every file of a repeated export.
        QFile::remove(path);
        std::filesystem::rename(std::filesystem::path(part.toStdU16String()),
                                std::filesystem::path(path.toStdU16String()), error);
        if (!error) {
            return std::nullopt;
        }
    }
    QFile::remove(part);
    return platform::FileFailure{path, platform::FileErrorDescriptions::writeFailure(path)};
}

// Writes the files into the folder, making it first when it is missing.
std::optional<platform::FileFailure> writeFiles(const QString& folder, const QList<ExportFile>& files,
                                                int& filesWritten)
{
    if (!QDir().mkpath(folder)) {
        return platform::FileFailure{
            folder, platform::FileErrorDescriptions::openForWritingFailure(QDir(folder).filePath(files.value(0).name))};
    }
    for (const ExportFile& file : files) {
        const QString path = QDir::toNativeSeparators(QDir(folder).filePath(file.name));
        if (auto failure = writeFile(path, file.bytes)) {
            return failure;
        }
        ++filesWritten;
    }
    return std::nullopt;
}

QString fullPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The plan of the format requested; a file names its work or bible after the version file.
ExportPlan planOf(const ExportRequest& request, const QList<Verse>& verses, const QString& fileName)
{
    const QString versionName = QFileInfo(request.versionPath).completeBaseName();
    switch (request.format) {
    case ExportFormat::Text:
        break;
    case ExportFormat::Imp:
        return planImpFile(verses, fileName);
    case ExportFormat::Osis:
        return planOsisFile(verses, fileName, versionName);
    case ExportFormat::Zefania:
        return planZefaniaFile(verses, fileName, versionName);
    case ExportFormat::Vpl:
        return planVplFile(verses, fileName);
    }
    return planTextFiles(verses, request.encoding);
}

} // namespace

ExportOutcome exportVersion(const ExportRequest& request)
{
    ExportOutcome outcome;
    outcome.destination = fullPath(request.destination);
    VersionVerses version = readVersionVerses(request.versionPath);
    if (version.engineFailure) {
        outcome.result = ExportResult::EngineFailed;
        outcome.engineFailure = *version.engineFailure;
        return outcome;
    }
    if (version.unreadable) {
        outcome.result = ExportResult::UnreadableReference;
        outcome.verse = *version.unreadable;
        return outcome;
    }

    const QFileInfo destination(outcome.destination);
    const ExportPlan plan = planOf(request, version.verses, destination.fileName());
    outcome.moved = plan.moved;
    if (plan.result != ExportResult::Written) {
        outcome.result = plan.result;
        outcome.verse = plan.refused;
        return outcome;
    }
    const QString folder = request.format == ExportFormat::Text ? outcome.destination : destination.absolutePath();
    if (const auto failure = writeFiles(folder, plan.files, outcome.filesWritten)) {
        outcome.result = ExportResult::WriteFailed;
        outcome.fileFailure = *failure;
        return outcome;
    }
    outcome.result = ExportResult::Written;
    outcome.versesWritten = plan.versesWritten;
    return outcome;
}

} // namespace exchange
