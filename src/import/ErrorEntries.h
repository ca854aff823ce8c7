#pragma once

#include "import/ParseImportLine.h"
#include "import/VerseSource.h"

#include <QString>
#include <QStringList>

namespace importer {

// The texts of the error list: the heading of a file and the entry of a rejected line.
namespace ErrorEntries {
// The two entries that head a file's errors: a single space, then the file's list entry
// followed directly by "파일에서...".
[[nodiscard]] QStringList fileHeading(const QString& fileEntry);

// The entry of a rejected line; empty for Blank and Accepted, which are not errors.
[[nodiscard]] QString lineEntry(qint64 lineNumber, const ParsedLine& parsed);

// The entry of a fault of a Bible format's file: its line (and column), what is wrong, its detail.
[[nodiscard]] QString faultEntry(const SourceEntry& entry);

// What an entry says after its line (and column): why the line was rejected, or what is wrong.
[[nodiscard]] QString lineReason(const ParsedLine& parsed);
[[nodiscard]] QString faultReason(const SourceEntry& entry);
} // namespace ErrorEntries

} // namespace importer
