#pragma once

#include "import/ParseImportLine.h"
#include "platform/FileFailure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {
class RunControl;
}

namespace importer {

class SwordBible;

// Receives the canonical reference and the text part of every accepted line. It may throw;
// the exception passes through the checker untouched, with the open file closed.
using AcceptedLineWriter = std::function<void(const QString& reference, const QString& text)>;

// Receives the entries of the error list one by one, in list order, as the check finds them
// (the error log is written as the run goes). A failure stops the check.
using ErrorListSink = std::function<std::optional<platform::FileFailure>(const QString& entry)>;

// One entry of the error list as data: the file's list entry, the line (and the column of malformed XML, else 0)
// and what the entry says after them.
struct Finding
{
    QString file;
    qint64 line = 0;
    qint64 column = 0;
    QString reason;
};

// A file read only in part: the file's list entry; the faults passed over, reading on after each, and the verses
// they cost; the line of a fault after which nothing of it was read (0: it was read to its end), and how many verses
// were taken from the file before that fault.
struct PartlyReadFile
{
    QString file;
    qint64 skippedFaults = 0;
    qint64 versesLost = 0;
    qint64 cutOffLine = 0;
    qint64 versesRead = 0;
};

// The findings a check keeps for its caller; the error list itself holds every one.
constexpr qsizetype kMostFindings = 10000;

// The outcome of checking the files of one run: how many entries the error list received (headings
// included), the findings (the first kMostFindings of them, and how many more there were), the files
// read in part, and the failure that stopped the run: a file that could not be opened or read, or the sink's;
// or the cancel that stopped it.
struct CheckResult
{
    qint64 errorEntries = 0;
    QList<Finding> findings;
    qint64 findingsLeftOut = 0;
    QList<PartlyReadFile> partlyRead;
    std::optional<platform::FileFailure> failure;
    bool cancelled = false;

    [[nodiscard]] bool succeeded() const { return !failure.has_value() && !cancelled; }
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
// A control, when given, follows the bytes read out of the sizes of all files, and a cancel stops the check
// before the next line or verse.
[[nodiscard]] CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                                         const AcceptedLineWriter& writer, const ErrorListSink& errors,
                                         platform::RunControl* control);

// Checks the verses of an installed SWORD module as the entries of an IMP file are checked, the module named by
// entry in the error list; the control follows the verses walked.
[[nodiscard]] CheckResult checkSwordBible(const QString& entry, SwordBible& bible, const ReferenceExists& exists,
                                          const AcceptedLineWriter& writer, const ErrorListSink& errors,
                                          platform::RunControl* control);

} // namespace importer
