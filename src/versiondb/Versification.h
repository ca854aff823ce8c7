#pragma once

#include "books/BookAbbreviations.h"
#include "books/Versification.h"

// The engine checks and repairs a version against the Korean numbering of the book tables.
namespace versiondb {

using books::canonicalReference;
using books::canonicalReferenceUtf8;
using books::koreanVersification;
using books::SkeletonVerse;

[[nodiscard]] inline QStringView bookAbbreviation(int book)
{
    return books::BookAbbreviations::at(book);
}

} // namespace versiondb
