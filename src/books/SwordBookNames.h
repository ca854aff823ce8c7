#pragma once

#include <QStringView>

namespace books {

// The books as SWORD's tools name them, beside BookAbbreviations and in the same
// order (Genesis = 1 ... Revelation = 66): the OSIS ids ("Gen", "1Sam", "3John",
// "Rev") and the English names that mod2imp writes in its keys ("Genesis",
// "I Samuel", "III John", "Revelation of John").
namespace SwordBookNames {
// The OSIS id of book 1 to 66; an empty view for any other number.
[[nodiscard]] QStringView osisId(int bookNumber);

// SWORD's English name of book 1 to 66; an empty view for any other number.
[[nodiscard]] QStringView englishName(int bookNumber);

// The book number of an English name, an OSIS id or a Korean abbreviation,
// compared exactly character by character; 0 when there is none.
[[nodiscard]] int find(QStringView name);
} // namespace SwordBookNames

} // namespace books
