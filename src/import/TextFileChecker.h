#pragma once

#include "import/ParseImportLine.h"
#include "platform/FileFailure.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace importer {

// Receives the canonical reference and the text part of every accepted line. It may throw;
// the exception passes through the checker untouched, with the open file closed.
using AcceptedLineWriter = std::function<void(const QString& reference, const QString& text)>;

// Receives the entries of the error list one by one, in list order, as the check finds them
// (the error log is written as the run goes). A failure stops the check.
using ErrorListSink = std::function<std::optional<platform::FileFailure>(const QString& entry)>;

// Called after every Blank, MissingColon and Accepted line, so that the caller can process
// pending window events.
using PendingEventsHook = std::function<void()>;

// The outcome of checking the files of one run: how many entries the error list received, or
// the failure that stopped the run: a file that could not be opened or read, or the sink's.
struct CheckResult
{
    qint64 errorEntries = 0;
    std::optional<platform::FileFailure> failure;

    [[nodiscard]] bool succeeded() const { return !failure.has_value(); }
};

// Checks the files in list order, line by line. Each rejected line hands its entry to errors,
// under a heading handed over before its file's first entry. Accepted lines go to writer when
// it is set (a check-only run passes none). Line numbers count blank lines and restart per file.
// An IMP file in the list is checked entry by entry: headings are skipped, every other key is
// checked as a line is and reported with the number of its key line, and the entry's text goes
// to writer with the key's canonical reference. A USFM file (see UsfmVerseReader) and an OSIS or Zefania XML file
// (see XmlVerseReader) are checked verse by verse in the same way, each verse's key at the line of its \v or its
// start tag, and the faults of the file itself (a verse before any book, an unknown book, a verse range, a verse,
// line or element too long, malformed XML) reported at theirs.
[[nodiscard]] CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                                         const AcceptedLineWriter& writer, const ErrorListSink& errors,
                                         const PendingEventsHook& pendingEvents);

} // namespace importer
