#include "import/BookAbbreviations.h"
#include "import/SwordBookNames.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

using importer::BookAbbreviations;
using importer::SwordBookNames;

TEST(BookNames, abbreviationsAreTheBooksOfTheVersificationTableInCanonicalOrder)
{
    QStringList expected;
    QFile table(testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!table.atEnd()) {
        const QStringList columns = QString::fromUtf8(table.readLine()).trimmed().split(u'\t');
        if (columns.size() == 4 && columns[0].toInt() == expected.size() + 1) {
            expected.append(columns[1]);
        }
    }
    ASSERT_EQ(expected.size(), BookAbbreviations::kCount);
    for (int number = 1; number <= BookAbbreviations::kCount; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(BookAbbreviations::at(number).toString(), expected[number - 1]);
        EXPECT_EQ(BookAbbreviations::find(expected[number - 1]), number);
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::osisId(number)), number);
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::englishName(number)), number);
        EXPECT_EQ(SwordBookNames::find(expected[number - 1]), number);
    }
    EXPECT_TRUE(BookAbbreviations::at(0).isEmpty() && BookAbbreviations::at(67).isEmpty());
    EXPECT_TRUE(SwordBookNames::osisId(0).isEmpty() && SwordBookNames::englishName(67).isEmpty());
}

TEST(BookNames, swordNamesAreSwordsOwnAndEveryLookupIsExact)
{
    const char* const names[][3] = {
        {"1", "Gen", "Genesis"},     {"9", "1Sam", "I Samuel"},           {"22", "Song", "Song of Solomon"},
        {"64", "3John", "III John"}, {"66", "Rev", "Revelation of John"},
    };
    for (const auto& [book, osis, english] : names) {
        EXPECT_EQ(SwordBookNames::osisId(QByteArray(book).toInt()).toString(), QString::fromLatin1(osis));
        EXPECT_EQ(SwordBookNames::englishName(QByteArray(book).toInt()).toString(), QString::fromLatin1(english));
    }
    // Decomposed jamo of 창 are not the precomposed syllable.
    for (const char* name : {"", " 창", "창 ", "창세기", "삼", "삼상하", "gen", "GEN", "Genesis ", "1 Samuel",
                             "Revelation", "Psalm", "\u110E\u1161\u11BC"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(BookAbbreviations::find(QString::fromUtf8(name)), 0);
        EXPECT_EQ(SwordBookNames::find(QString::fromUtf8(name)), 0);
    }
}
