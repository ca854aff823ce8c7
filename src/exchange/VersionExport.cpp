#include "exchange/VersionExport.h"

#include "books/BookAbbreviations.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/FileNames.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace exchange {

namespace {

// A file written under a temporary name beside the file of its name, waiting to be put in place.
struct WrittenFile
{
    QString temporary;
    QString path;
};

// Writes the bytes completely under a new temporary name beside path (path + ".part", or ".part2" and so on when
// that exists: no file of anyone else is overwritten); nothing when it failed, opened saying whether the file could
// be made at all. Nothing is flushed to the disk: the version, not its export, is what must survive.
std::optional<WrittenFile> writeTemporary(const QString& path, const QByteArray& bytes, bool& opened)
{
    opened = false;
    for (int n = 1; n < 100; ++n) {
        const QString temporary = path + QStringLiteral(".part") + (n > 1 ? QString::number(n) : QString());
        QFile out(temporary);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(temporary) || QFileInfo(temporary).isSymLink()) {
                continue;
            }
            return std::nullopt;
        }
        opened = true;
        const bool written = out.write(bytes) == bytes.size() && out.flush();
        out.close();
        if (written && out.error() == QFileDevice::NoError) {
            return WrittenFile{temporary, path};
        }
        QFile::remove(temporary);
        return std::nullopt;
    }
    return std::nullopt;
}

// Renames a file, replacing a file of the new name.
bool moveReplacing(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()),
                            error);
    return !error;
}

// Puts every written file in place of the file of its name, all or none, and returns the index of the one that could
// not take its place, if any. An old file is moved aside rather than renamed over (ext4 flushes a file renamed over
// another to the disk, which would cost a wait on every file of a repeated export) and removed once all are in place;
// when one cannot be moved aside or cannot take its place, the files put in place go and the old ones come back.
std::optional<qsizetype> putInPlace(const QList<WrittenFile>& written)
{
    const auto aside = [&](qsizetype i) { return written[i].temporary + QStringLiteral(".old"); };
    QList<bool> movedAside;
    for (qsizetype i = 0; i < written.size(); ++i) {
        const WrittenFile& file = written[i];
        const bool old = QFileInfo(file.path).isFile();
        movedAside.append(old && QFile::rename(file.path, aside(i)));
        if (old != movedAside[i] || !moveReplacing(file.temporary, file.path)) {
            for (qsizetype j = i; j >= 0; --j) {
                if (movedAside[j]) {
                    moveReplacing(aside(j), written[j].path);
                } else if (j < i) {
                    QFile::remove(written[j].path);
                }
            }
            return i;
        }
    }
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (movedAside[i]) {
            QFile::remove(aside(i));
        }
    }
    return std::nullopt;
}

// Writes the files into the folder, making it first when it is missing: all of them under temporary names, then,
// unless the run was cancelled meanwhile, all of them put in place. A failure or a cancel removes what was written
// (and the folder when it was made for them), so that every file is as it was.
ExportResult writeFiles(const QString& folder, const QList<ExportFile>& files, platform::RunControl* control,
                        ExportOutcome& outcome)
{
    const bool madeFolder = !QFileInfo::exists(folder);
    if (!QDir().mkpath(folder)) {
        outcome.fileFailure = platform::FileFailure{
            folder, platform::FileErrorDescriptions::openForWritingFailure(QDir(folder).filePath(files.value(0).name))};
        return ExportResult::WriteFailed;
    }
    QList<WrittenFile> written;
    const auto undo = [&](ExportResult result) {
        for (const WrittenFile& file : written) {
            QFile::remove(file.temporary);
        }
        if (madeFolder) {
            QDir().rmdir(folder);
        }
        return result;
    };
    for (const ExportFile& file : files) {
        if (control != nullptr && control->cancelled()) {
            return undo(ExportResult::Cancelled);
        }
        const QString path = QDir::toNativeSeparators(QDir(folder).filePath(file.name));
        bool opened = false;
        const std::optional<WrittenFile> one = writeTemporary(path, file.bytes, opened);
        if (!one) {
            outcome.fileFailure =
                platform::FileFailure{path, opened ? platform::FileErrorDescriptions::writeFailure(path)
                                                   : platform::FileErrorDescriptions::openForWritingFailure(path)};
            return undo(ExportResult::WriteFailed);
        }
        written.append(*one);
    }
    if (control != nullptr && control->cancelled()) {
        return undo(ExportResult::Cancelled);
    }
    if (const std::optional<qsizetype> failed = putInPlace(written)) {
        const QString path = written[*failed].path;
        outcome.fileFailure = platform::FileFailure{path, platform::FileErrorDescriptions::writeFailure(path)};
        written = written.mid(*failed);
        return undo(ExportResult::WriteFailed);
    }
    return ExportResult::Written;
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

QStringList existingExportPaths(const ExportRequest& request)
{
    const QString destination = platform::fullPath(request.destination);
    QStringList paths;
    if (request.format != ExportFormat::Text) {
        paths << destination;
    } else {
        for (int book = 1; book <= books::BookAbbreviations::kCount; ++book) {
            paths << QDir::toNativeSeparators(QDir(destination).filePath(textFileName(book)));
        }
    }
    paths.removeIf([](const QString& path) { return !QFileInfo::exists(path) && !QFileInfo(path).isSymLink(); });
    return paths;
}

ExportOutcome exportVersion(const ExportRequest& request)
{
    ExportOutcome outcome;
    outcome.destination = platform::fullPath(request.destination);
    outcome.existing = existingExportPaths(request);
    if (const auto database = std::ranges::find_if(outcome.existing, versiondb::VersionFile::hasSqliteHeader);
        database != outcome.existing.end()) {
        outcome.existing = {*database};
        outcome.result = ExportResult::WouldReplaceVersion;
        return outcome;
    }
    if (!request.replace && !outcome.existing.isEmpty()) {
        outcome.result = ExportResult::WouldReplace;
        return outcome;
    }
    versiondb::VersionVerses version = versiondb::readVersionVerses(request.versionPath, request.control);
    if (version.cancelled) {
        outcome.result = ExportResult::Cancelled;
        return outcome;
    }
    if (version.failure) {
        outcome.result = ExportResult::EngineFailed;
        outcome.failure = *version.failure;
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
    outcome.result = writeFiles(folder, plan.files, request.control, outcome);
    if (outcome.result == ExportResult::Written) {
        outcome.versesWritten = plan.versesWritten;
    }
    return outcome;
}

} // namespace exchange
