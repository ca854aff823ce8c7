#include "import/SwordBookNames.h"

#include "import/BookAbbreviations.h"

#include <QString>
#include <gtest/gtest.h>

using importer::SwordBookNames;

TEST(SwordBookNames, namesTheBooksAsSwordDoes)
{
    struct Row
    {
        int book;
        const char* osisId;
        const char* englishName;
    };
    const Row rows[] = {
        {1, "Gen", "Genesis"},           {9, "1Sam", "I Samuel"},   {19, "Ps", "Psalms"},
        {22, "Song", "Song of Solomon"}, {43, "John", "John"},      {57, "Phlm", "Philemon"},
        {62, "1John", "I John"},         {64, "3John", "III John"}, {66, "Rev", "Revelation of John"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.book);
        EXPECT_EQ(SwordBookNames::osisId(row.book).toString(), QString::fromLatin1(row.osisId));
        EXPECT_EQ(SwordBookNames::englishName(row.book).toString(), QString::fromLatin1(row.englishName));
    }
}

TEST(SwordBookNames, findsEveryBookByEachOfItsThreeNamesAndNothingElse)
{
    for (int book = 1; book <= importer::BookAbbreviations::kCount; ++book) {
        SCOPED_TRACE(book);
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::osisId(book)), book);
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::englishName(book)), book);
        EXPECT_EQ(SwordBookNames::find(importer::BookAbbreviations::at(book)), book);
    }
    const char* const notBooks[] = {"", "gen", "GEN", "Genesis ", "1 Samuel", "Revelation", "Song of Songs", "Psalm"};
    for (const char* name : notBooks) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SwordBookNames::find(QString::fromLatin1(name)), 0);
    }
    EXPECT_TRUE(SwordBookNames::osisId(0).isEmpty());
    EXPECT_TRUE(SwordBookNames::englishName(67).isEmpty());
}
