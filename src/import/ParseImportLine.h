#pragma once

#include <QString>
#include <QStringView>
#include <functional>

namespace importer {

// Whether a canonical reference ("창 1:1") exists in the reference version.
using ReferenceExists = std::function<bool(const QString& canonicalReference)>;

// The result kinds of one import line, in the order in which the rules are tried.
enum class LineOutcome
{
    Blank,
    MissingColon,
    VerseNotNumeric,
    VerseTooLong,
    ChapterNotFound,
    UnknownBook,
    UnknownReference,
    Accepted
};

struct ParsedLine
{
    LineOutcome outcome = LineOutcome::Blank;
    // The canonical reference: set for UnknownReference and Accepted.
    QString reference;
    // The verse text, trimmed of spaces (possibly empty): set once the verse digits are read.
    QString text;
    // The book text as quoted in an UnknownBook report (possibly empty, possibly with a
    // leading space): set for UnknownBook, UnknownReference and Accepted.
    QString bookText;
};

// Splits one line of an import text file into its canonical reference and its text and
// validates it: first by its form and the book table, then by the existence test.
// A line that ends right after its verse digits is accepted with an empty text.
[[nodiscard]] ParsedLine parseImportLine(QStringView line, const ReferenceExists& exists);

} // namespace importer
