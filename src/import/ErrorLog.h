#pragma once

#include "platform/FileFailure.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace importer {

// The error log "err.txt" in the program folder: written as a run finds errors (ErrorLogWriter),
// deleted at the start of every run.
class ErrorLog
{
public:
    explicit ErrorLog(const QString& programFolder);

    [[nodiscard]] const QString& path() const { return m_path; }

    // Whether the log is there (a normal file).
    [[nodiscard]] bool exists() const;

    // Deletes the log if it is there; a failure when it stays.
    [[nodiscard]] std::optional<platform::FileFailure> remove() const;

    // The first line of the log: the time and date of now in the long formats of locale.
    [[nodiscard]] static QString headerLine(const QDateTime& now, const QLocale& locale);

private:
    QString m_path;
};

} // namespace importer
