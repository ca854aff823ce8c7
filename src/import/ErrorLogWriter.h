#pragma once

#include "import/ErrorLog.h"
#include "platform/FileFailure.h"

#include <QDateTime>
#include <QLocale>
#include <QSaveFile>
#include <functional>
#include <optional>

namespace importer {

// Writes the error log while a run goes on, one entry at a time, so that nothing of the error
// list is held in memory. Nothing is written before the first entry; that entry starts the log
// with the header line (the time of that moment) and the empty line. In the log's encoding: code page 949 with
// lines ending with CR LF, where a character that code page 949 cannot hold is written as "?"; or UTF-8 with LF.
//
// The lines go to a scratch file beside the log, which becomes "err.txt" only at commit(): a run
// that stops on a failure, or whose log could not be written to the end, leaves no "err.txt".
class ErrorLogWriter
{
public:
    using Clock = std::function<QDateTime()>;

    explicit ErrorLogWriter(const ErrorLog& log, QLocale locale = QLocale::system(),
                            Clock clock = &QDateTime::currentDateTime);
    ErrorLogWriter(const ErrorLogWriter&) = delete;
    ErrorLogWriter& operator=(const ErrorLogWriter&) = delete;
    // Drops a log that was not committed: its scratch file goes with the QSaveFile.
    ~ErrorLogWriter() = default;

    // Writes one entry; after a failure the log is dropped and every later call fails.
    [[nodiscard]] std::optional<platform::FileFailure> append(const QString& entry);

    // Completes the log as "err.txt"; nothing when no entry was written.
    [[nodiscard]] std::optional<platform::FileFailure> commit();

private:
    [[nodiscard]] std::optional<platform::FileFailure> start();
    [[nodiscard]] bool writeLine(const QString& line);
    [[nodiscard]] platform::FileFailure fail(const QString& description);

    QString m_path;
    QLocale m_locale;
    Clock m_clock;
    bool m_inCodePage949;
    QSaveFile m_file;
    QByteArray m_bytes;
    std::optional<platform::FileFailure> m_failure;
};

} // namespace importer
