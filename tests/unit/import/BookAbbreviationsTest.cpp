#include "import/BookAbbreviations.h"

#include "support/TestPaths.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

using importer::BookAbbreviations;

namespace {

// The abbreviation column of the versification table, one entry per book in canonical order.
QStringList abbreviationsOfVersificationTable()
{
    QStringList books;
    QFile file(testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return books;
    }
    file.readLine();
    while (!file.atEnd()) {
        const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (columns.size() == 4 && columns[0].toInt() == books.size() + 1) {
            books.append(columns[1]);
        }
    }
    return books;
}

} // namespace

TEST(BookAbbreviations, holdsTheBooksOfTheVersificationTableInCanonicalOrder)
{
    const QStringList expected = abbreviationsOfVersificationTable();
    ASSERT_EQ(expected.size(), 66);
    for (int number = 1; number <= BookAbbreviations::kCount; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(BookAbbreviations::at(number).toString(), expected[number - 1]);
        EXPECT_EQ(BookAbbreviations::find(expected[number - 1]), number);
    }
}

TEST(BookAbbreviations, numbersOutsideTheTableGiveNothing)
{
    EXPECT_TRUE(BookAbbreviations::at(0).isEmpty());
    EXPECT_TRUE(BookAbbreviations::at(67).isEmpty());
    EXPECT_TRUE(BookAbbreviations::at(-1).isEmpty());
}

TEST(BookAbbreviations, lookupIsExactCharacterByCharacter)
{
    const char* const notBooks[] = {"", " 창", "창 ", "창세기", "Gen", "삼", "상", "삼상하", "요삼 ", "ㅊ"};
    for (const char* text : notBooks) {
        SCOPED_TRACE(text);
        EXPECT_EQ(BookAbbreviations::find(QString::fromUtf8(text)), 0);
    }
    // Decomposed jamo for 창 are not the precomposed syllable.
    EXPECT_EQ(BookAbbreviations::find(QStringLiteral("\u110E\u1161\u11BC")), 0);
    EXPECT_EQ(BookAbbreviations::find(QStringLiteral("요삼")), 64);
}

TEST(BookAbbreviations, twoSyllableBooksAreTheSeventeenOfTheTable)
{
    QStringList twoSyllables;
    for (int number = 1; number <= BookAbbreviations::kCount; ++number) {
        if (BookAbbreviations::at(number).size() == 2) {
            twoSyllables.append(BookAbbreviations::at(number).toString());
        }
    }
    EXPECT_EQ(twoSyllables.join(u' '),
              QStringLiteral("삼상 삼하 왕상 왕하 대상 대하 고전 고후 살전 살후 딤전 딤후 벧전 "
                             "벧후 요일 요이 요삼"));
}
