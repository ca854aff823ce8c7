#include "import/ErrorLog.h"

#include "platform/FileErrorDescriptions.h"
#include "platform/ProgramFolders.h"
#include "shell/SharedRoutines.h"

#include <QFile>
#include <QStringEncoder>

namespace importer {

namespace {

const QString kFileName = QStringLiteral("err.txt");
const QString kHeaderTail = QStringLiteral(" <편집오류 로그파일>");
constexpr const char* kCodePage949 = "windows-949";
constexpr char kLineEnd[] = "\r\n";

} // namespace

ErrorLog::ErrorLog(const QString& programFolder) : m_path(programFolder + platform::separator() + kFileName) {}

bool ErrorLog::exists() const
{
    return shell::FileExists(m_path);
}

std::optional<FileFailure> ErrorLog::remove() const
{
    if (!exists()) {
        return std::nullopt;
    }
    if (!QFile::remove(m_path)) {
        return FileFailure{m_path, platform::FileErrorDescriptions::removeFailure()};
    }
    return std::nullopt;
}

QString ErrorLog::headerLine(const QDateTime& now, const QLocale& locale)
{
    // The time is formatted from the date and time so that a zone in the format is now's own zone.
    return locale.toString(now, locale.timeFormat(QLocale::LongFormat)) + u' ' +
           locale.toString(now.date(), QLocale::LongFormat) + kHeaderTail;
}

std::optional<FileFailure> ErrorLog::write(const QStringList& entries, const QDateTime& now,
                                           const QLocale& locale) const
{
    // The default replacement of the encoder is "?", one per character it cannot encode.
    QStringEncoder encoder(kCodePage949, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        return FileFailure{m_path, QStringLiteral("코드 페이지 949 변환기를 찾을 수 없습니다.")};
    }
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return FileFailure{m_path, platform::FileErrorDescriptions::openForWritingFailure(m_path)};
    }
    QByteArray bytes;
    const auto writeLine = [&](const QString& line) {
        bytes = encoder.encode(line);
        encoder.resetState();
        bytes.append(kLineEnd);
        return file.write(bytes) == bytes.size();
    };
    bool written = writeLine(headerLine(now, locale)) && writeLine(QString());
    for (qsizetype i = 0; written && i < entries.size(); ++i) {
        written = writeLine(entries[i]);
    }
    written = written && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        // A log cut short would be read as complete: none is better.
        QFile::remove(m_path);
        return FileFailure{m_path, platform::FileErrorDescriptions::writeFailure()};
    }
    return std::nullopt;
}

} // namespace importer
