#include "import/ErrorLogWriter.h"

#include "platform/CodePage949.h"
#include "platform/FileErrorDescriptions.h"

#include <utility>

namespace importer {

ErrorLogWriter::ErrorLogWriter(const ErrorLog& log, QLocale locale, Clock clock)
    : m_path(log.path()), m_locale(std::move(locale)), m_clock(std::move(clock)), m_inCodePage949(log.inCodePage949()),
      m_file(m_path)
{
    // Never written in place: an "err.txt" is always a whole log.
    m_file.setDirectWriteFallback(false);
}

std::optional<platform::FileFailure> ErrorLogWriter::start()
{
    if (m_inCodePage949 && !platform::CodePage949::available()) {
        return fail(QStringLiteral("코드 페이지 949 변환기를 찾을 수 없습니다."));
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        return fail(platform::FileErrorDescriptions::openForWritingFailure(m_path));
    }
    if (!writeLine(ErrorLog::headerLine(m_clock(), m_locale)) || !writeLine(QString())) {
        return fail(platform::FileErrorDescriptions::writeFailure(m_path));
    }
    return std::nullopt;
}

std::optional<platform::FileFailure> ErrorLogWriter::append(const QString& entry)
{
    if (m_failure) {
        return m_failure;
    }
    if (!m_file.isOpen()) {
        if (auto failure = start()) {
            return failure;
        }
    }
    if (!writeLine(entry)) {
        return fail(platform::FileErrorDescriptions::writeFailure(m_path));
    }
    return std::nullopt;
}

std::optional<platform::FileFailure> ErrorLogWriter::commit()
{
    if (m_failure) {
        return m_failure;
    }
    if (!m_file.isOpen()) {
        return std::nullopt;
    }
    // Flushed first, so that a full disk is judged while the scratch file still fills it.
    if (!m_file.flush()) {
        return fail(platform::FileErrorDescriptions::writeFailure(m_path));
    }
    if (!m_file.commit()) {
        return fail(m_file.error() == QFileDevice::RenameError
                        ? platform::FileErrorDescriptions::openForWritingFailure(m_path)
                        : platform::FileErrorDescriptions::writeFailure(m_path));
    }
    return std::nullopt;
}

bool ErrorLogWriter::writeLine(const QString& line)
{
    m_bytes = m_inCodePage949 ? platform::CodePage949::encode(line).bytes : line.toUtf8();
    m_bytes.append(m_inCodePage949 ? "\r\n" : "\n");
    return m_file.write(m_bytes) == m_bytes.size();
}

platform::FileFailure ErrorLogWriter::fail(const QString& description)
{
    // Judged before the scratch file goes, while the disk is as the failure left it.
    m_failure = platform::FileFailure{m_path, description};
    if (m_file.isOpen()) {
        m_file.cancelWriting();
        m_file.commit();
    }
    return *m_failure;
}

} // namespace importer
