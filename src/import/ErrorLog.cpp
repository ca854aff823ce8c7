#include "import/ErrorLog.h"

#include "platform/FileErrorDescriptions.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"

#include <QFile>
#include <QFileInfo>

namespace importer {

ErrorLog::ErrorLog(const QString& programFolder, bool codePage949)
    : m_path(programFolder + platform::separator() + QStringLiteral("err.txt")),
      m_asidePath(m_path + QStringLiteral(".before-run")), m_codePage949(codePage949)
{}

bool ErrorLog::exists() const
{
    return platform::fileExists(m_path);
}

std::optional<platform::FileFailure> ErrorLog::remove() const
{
    if (exists() && !QFile::remove(m_path)) {
        return platform::FileFailure{m_path, platform::FileErrorDescriptions::removeFailure(m_path)};
    }
    return std::nullopt;
}

std::optional<platform::FileFailure> ErrorLog::setAside() const
{
    dropSetAside();
    if (exists() && !QFile::rename(m_path, m_asidePath)) {
        return platform::FileFailure{m_path, platform::FileErrorDescriptions::removeFailure(m_path)};
    }
    return std::nullopt;
}

void ErrorLog::putBack() const
{
    if (QFileInfo(m_asidePath).isFile()) {
        QFile::remove(m_path);
        QFile::rename(m_asidePath, m_path);
    }
}

void ErrorLog::dropSetAside() const
{
    if (QFileInfo(m_asidePath).isFile()) {
        QFile::remove(m_asidePath);
    }
}

QString ErrorLog::headerLine(const QDateTime& now, const QLocale& locale)
{
    // The time is formatted from the date and time so that a zone in the format is now's own zone.
    return locale.toString(now, locale.timeFormat(QLocale::LongFormat)) + u' ' +
           locale.toString(now.date(), QLocale::LongFormat) + QStringLiteral(" <편집오류 로그파일>");
}

} // namespace importer
