#pragma once

#include "import/FileFailure.h"
#include "import/ParseImportLine.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace importer {

// Receives the canonical reference and the text part of every accepted line. It may throw;
// the exception passes through the checker untouched, with the open file closed.
using AcceptedLineWriter = std::function<void(const QString& reference, const QString& text)>;

// Called after every Blank, MissingColon and Accepted line, so that the caller can process
// pending window events.
using PendingEventsHook = std::function<void()>;

// The outcome of checking the files of one run: the error list, or the file that could not be
// opened or read (the run stops there and its error list is dropped).
struct CheckResult
{
    QStringList errorList;
    std::optional<FileFailure> failure;

    [[nodiscard]] bool succeeded() const { return !failure.has_value(); }
};

// Checks the files in list order, line by line. Each rejected line adds its entry to the error
// list, under a heading added before its file's first entry. Accepted lines go to writer when
// it is set (a check-only run passes none). Line numbers count blank lines and restart per file.
[[nodiscard]] CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                                         const AcceptedLineWriter& writer, const PendingEventsHook& pendingEvents);

} // namespace importer
