#include "books/BookAbbreviations.h"

#include "books/Versification.h"

#include <array>

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
    if (bookNumber < 1 || bookNumber > kCount) {
        return {};
    }
    return abbreviations()[static_cast<std::size_t>(bookNumber - 1)];
}

int BookAbbreviations::find(QStringView abbreviation)
{
    // A linear scan: 66 entries of one or two characters, the length compared first.
    const auto& books = abbreviations();
    for (std::size_t i = 0; i < books.size(); ++i) {
        if (books[i].size() == abbreviation.size() && books[i] == abbreviation) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

} // namespace books
