#pragma once

#include <QStringView>

namespace books {

// The 66 books' full Korean names of the 개역 Bible, beside BookAbbreviations and in the same
// order (Genesis = 1 ... Revelation = 66): "창세기", "사무엘상", "요한계시록". The exports write
// them where a file format names its books.
namespace KoreanBookNames {
// The full name of book 1 to 66; an empty view for any other number.
[[nodiscard]] QStringView at(int bookNumber);
} // namespace KoreanBookNames

} // namespace books
