#pragma once

#include <QStringView>

namespace books {

// USFM's three-letter book codes ("GEN", "1SA", "SNG", "REV"), beside BookAbbreviations and in the same order
// (Genesis = 1 ... Revelation = 66). The deuterocanonical books and the peripheral files (front matter, glossary)
// have codes of their own, which are none of these.
namespace UsfmBookIds {
// The code of book 1 to 66; an empty view for any other number.
[[nodiscard]] QStringView at(int bookNumber);

// The book number of a code, in capitals or not; 0 when there is none.
[[nodiscard]] int find(QStringView code);
} // namespace UsfmBookIds

} // namespace books
