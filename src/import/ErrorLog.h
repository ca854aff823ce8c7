#pragma once

#include "platform/FileFailure.h"
#include "platform/SystemCodePage.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace importer {

// The error log "err.txt" in the program folder: written as a run finds errors (ErrorLogWriter). A run sets the
// earlier log aside at its start, and deletes it at its end, or puts it back when the run is cancelled.
class ErrorLog
{
public:
    // Written in code page 949 with CR LF line ends when codePage949 is set, else in UTF-8 with LF.
    explicit ErrorLog(const QString& programFolder, bool codePage949 = platform::systemCodePageIs949());

    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] bool inCodePage949() const { return m_codePage949; }

    // Whether the log is there (a normal file).
    [[nodiscard]] bool exists() const;

    // Deletes the log if it is there; a failure when it stays.
    [[nodiscard]] std::optional<platform::FileFailure> remove() const;

    // Moves the log, if it is there, to a name beside it (dropping what a run that never ended left there); a
    // failure when it stays.
    [[nodiscard]] std::optional<platform::FileFailure> setAside() const;
    // Puts the log set aside back in its place, replacing any log there; or deletes it.
    void putBack() const;
    void dropSetAside() const;

    // The first line of the log: the time and date of now in the long formats of locale.
    [[nodiscard]] static QString headerLine(const QDateTime& now, const QLocale& locale);

private:
    QString m_path;
    QString m_asidePath;
    bool m_codePage949;
};

} // namespace importer
