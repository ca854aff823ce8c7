#include "books/BookAbbreviations.h"

#include "books/Versification.h"

#include <algorithm>

namespace books {

namespace {

// The abbreviations in canonical order, as the Korean numbering's table gives them where each book begins.
const std::array<QStringView, BookAbbreviations::kCount>& abbreviations()
{
    static const std::array<QStringView, BookAbbreviations::kCount> all = [] {
        std::array<QStringView, BookAbbreviations::kCount> found;
        int books = 0;
        for (int c = 0; c < detail::kKoreanChapterCount && books < BookAbbreviations::kCount; ++c) {
            if (detail::kKoreanChapters[c].book == books + 1) {
                found[static_cast<std::size_t>(books++)] = detail::kKoreanChapters[c].abbreviation;
            }
        }
        return found;
    }();
    return all;
}

} // namespace

QStringView BookAbbreviations::at(int bookNumber)
{
    return bookEntry(abbreviations(), bookNumber);
}

int BookAbbreviations::find(QStringView abbreviation)
{
    // A linear scan: 66 entries of one or two characters.
    const auto& books = abbreviations();
    const auto found = std::find(books.begin(), books.end(), abbreviation);
    return found == books.end() ? 0 : static_cast<int>(found - books.begin()) + 1;
}

} // namespace books
