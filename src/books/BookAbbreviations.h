#pragma once

#include <QStringView>
#include <array>

namespace books {

// The 66 book abbreviations of the Korean numbering, in canonical order (Genesis = 1 ... Revelation = 66).
namespace BookAbbreviations {
constexpr int kCount = 66;

// The abbreviation of book 1 to 66; an empty view for any other number.
[[nodiscard]] QStringView at(int bookNumber);

// The book number of an abbreviation, compared exactly character by character; 0 when there is none.
[[nodiscard]] int find(QStringView abbreviation);
} // namespace BookAbbreviations

// The entry of book 1 to 66 in a table of the books in canonical order; an empty view for any other number.
[[nodiscard]] inline QStringView bookEntry(const std::array<QStringView, BookAbbreviations::kCount>& table,
                                           int bookNumber)
{
    return bookNumber < 1 || bookNumber > BookAbbreviations::kCount ? QStringView()
                                                                    : table[static_cast<std::size_t>(bookNumber - 1)];
}

} // namespace books
