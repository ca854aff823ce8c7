#pragma once

#include "import/FileFailure.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace importer {

// The error log "err.txt" in the program folder: written at the end of a run that found errors,
// deleted at the start of every run. Code page 949, lines ending with CR LF; a character that
// code page 949 cannot hold is written as "?".
class ErrorLog
{
public:
    explicit ErrorLog(const QString& programFolder);

    [[nodiscard]] const QString& path() const { return m_path; }

    // Whether the log is there (a normal file).
    [[nodiscard]] bool exists() const;

    // Deletes the log if it is there; a failure when it stays.
    [[nodiscard]] std::optional<FileFailure> remove() const;

    // Creates the log afresh: the header line with the time and date of now in the long formats of
    // locale, an empty line, then one line per entry.
    [[nodiscard]] std::optional<FileFailure> write(const QStringList& entries, const QDateTime& now,
                                                   const QLocale& locale = QLocale::system()) const;

    // The first line of the log.
    [[nodiscard]] static QString headerLine(const QDateTime& now, const QLocale& locale);

private:
    QString m_path;
};

} // namespace importer
