#include "books/KjvVersification.h"

#include "books/ReferenceParser.h"

#include <gtest/gtest.h>

using books::KjvVersification::chapterCount;
using books::KjvVersification::verseCount;

// The KJV numbering follows the Korean one but for four chapters; an edit of the Korean table must not move it.
TEST(KjvVersification, differsFromTheKoreanNumberingInFourChaptersOnly)
{
    // Book, chapter, and its verses in the KJV and in the Korean numbering.
    const int differences[][4] = {{9, 30, 31, 30}, {22, 6, 13, 14}, {47, 13, 14, 13}, {64, 1, 14, 15}};
    for (const auto& [book, chapter, kjv, korean] : differences) {
        EXPECT_EQ(verseCount(book, chapter), kjv) << book << ' ' << chapter;
        EXPECT_EQ(books::ReferenceParser::verseCount(book, chapter), korean) << book << ' ' << chapter;
    }
    int chapters = 0, verses = 0, differing = 0;
    for (int book = 1; book <= 66; ++book) {
        ASSERT_EQ(chapterCount(book), books::ReferenceParser::chapterCount(book)) << book;
        for (int chapter = 1; chapter <= chapterCount(book); ++chapter) {
            ++chapters;
            verses += verseCount(book, chapter);
            differing += verseCount(book, chapter) != books::ReferenceParser::verseCount(book, chapter) ? 1 : 0;
        }
    }
    EXPECT_EQ(chapters, 1189);
    EXPECT_EQ(verses, 31102);
    EXPECT_EQ(differing, 4);
}
