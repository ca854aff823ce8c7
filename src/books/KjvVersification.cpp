#include "books/KjvVersification.h"

#include "books/ReferenceParser.h"

#include <array>

namespace books {

namespace {

// SWORD's KJV versification has the books and chapters of the Korean numbering and differs from it in the
// verses of four chapters: 삼상 30, 아 6, 고후 13 and 요삼 1.
struct KjvChapter
{
    int book;
    int chapter;
    int verses;
};
constexpr std::array<KjvChapter, 4> kDifferences = {{{9, 30, 31}, {22, 6, 13}, {47, 13, 14}, {64, 1, 14}}};

} // namespace

int KjvVersification::chapterCount(int bookNumber)
{
    return ReferenceParser::chapterCount(bookNumber);
}

int KjvVersification::verseCount(int bookNumber, int chapter)
{
    for (const KjvChapter& difference : kDifferences) {
        if (difference.book == bookNumber && difference.chapter == chapter) {
            return difference.verses;
        }
    }
    return ReferenceParser::verseCount(bookNumber, chapter);
}

bool KjvVersification::hasVerse(int bookNumber, int chapter, int verse)
{
    return verse >= 1 && verse <= verseCount(bookNumber, chapter);
}

} // namespace books
