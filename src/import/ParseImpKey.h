#pragma once

#include "import/ParseImportLine.h"

#include <QStringView>

namespace importer {

// What the key of an IMP entry names: a heading, or a verse checked as an import line is.
struct ParsedImpKey
{
    // A heading of the module, a book or a chapter: skipped, not an error.
    bool heading = false;
    // For any other key: its outcome, canonical reference and book text, with an empty text.
    ParsedLine parsed;
};

// Reads the key of an IMP entry ("Genesis 1:1", "1Sam 2:3", "요삼 1:14"). The book is SWORD's English
// name, its OSIS id or this program's abbreviation (see SwordBookNames). A bracketed key
// ("[ Module Heading ]") and a key whose chapter or verse is 0 ("Genesis 0:0", "Psalms 3:0") name
// headings. Any other key is checked by the rules of an import line, its book written as this
// program's abbreviation; a key with more than its verse number after the ':' ("Genesis 1:1-3")
// is VerseNotNumeric, as nothing but the verse number may follow it.
[[nodiscard]] ParsedImpKey parseImpKey(QStringView key, const ReferenceExists& exists);

} // namespace importer
