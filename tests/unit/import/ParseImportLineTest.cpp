#include "import/ParseImportLine.h"

#include "ReferenceTable.h"
#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "import/ParseImpKey.h"

#include <gtest/gtest.h>

using books::BookAbbreviations;
using books::SwordBookNames;
using importer::LineOutcome;
using testsupport::inReferenceVersion;

// A line, or after "$$$" an IMP key, through the rules of its kind: its outcome, and its
// reference|text|book text. For a key, Blank stands for a heading: a key names a heading, or a verse by
// the rules of a line.
TEST(ParseImportLine, linesAndKeysFollowTheRulesInOrder)
{
    using enum LineOutcome;
    const std::tuple<const char16_t*, LineOutcome, const char16_t*> cases[] = {
        {u"  창 1:1   In the beginning  ", Accepted, u"창 1:1|In the beginning|창"},
        {u"삼상1:1 text", Accepted, u"삼상 1:1|text|삼상"},
        // The character after the verse digits is dropped, whatever it is; digits that end the line give no text.
        {u"창 1:1In the beginning", Accepted, u"창 1:1|n the beginning|창"},
        {u"창 1:1  ", Accepted, u"창 1:1||창"},
        {u"   ", Blank, u"||"},
        {u"창 1;1 태초에", MissingColon, u"||"},
        {u"창 1:１ x", VerseNotNumeric, u"||"},
        {u"창 1:1234 태초에", VerseTooLong, u"||"},
        {u"창1:1 태초에", ChapterNotFound, u"|태초에|"},
        {u"창세기 1:1 태초에", UnknownBook, u"|태초에|창세기"},
        {u"1:1 태초에", UnknownBook, u"|태초에|"},
        {u"1 창 1:1 태초에", UnknownBook, u"|태초에| 창"},
        {u"\t창 1:1 x", UnknownBook, u"|x|\t창"},
        {u"창 1:123 태초에", UnknownReference, u"창 1:123|태초에|창"},
        {u"창 :000 x", UnknownReference, u"창 0:0|x|창"},
        {u"창 000123456789012345678901234567890:1 x", UnknownReference, u"창 123456789012345678901234567890:1|x|창"},
        {u"$$$[ Module Heading ]", Blank, u"||"},
        {u"$$$ I Samuel 1:2 ", Accepted, u"삼상 1:2||삼상"},
        {u"$$$창 1:3", Accepted, u"창 1:3||창"},
        {u"$$$", MissingColon, u"||"},
        {u"$$$Genesis 1:5-6", VerseNotNumeric, u"||"},
        {u"$$$Tobit 1:1", UnknownBook, u"||Tobit"},
    };
    for (const auto& [text, outcome, parts] : cases) {
        const QString line = QString::fromUtf16(text);
        SCOPED_TRACE(line.toStdString());
        const bool key = line.startsWith(u"$$$");
        const auto [heading, parsed] =
            key ? importer::ParseImpKey(line.sliced(3), inReferenceVersion)
                : importer::ParsedImpKey{false, importer::ParseImportLine(line, inReferenceVersion)};
        EXPECT_EQ(heading, key && outcome == Blank);
        EXPECT_EQ(int(parsed.outcome), int(outcome));
        EXPECT_EQ(parsed.reference + u'|' + parsed.text + u'|' + parsed.bookText, QString::fromUtf16(parts));
    }
}

// Every book of the reference version is found by its abbreviation, OSIS id and SWORD name, and by
// nothing else.
TEST(BookNames, eachBookIsFoundByItsNamesAndLookupsAreExact)
{
    for (int book = 1; book <= BookAbbreviations::kCount; ++book) {
        EXPECT_EQ(BookAbbreviations::find(BookAbbreviations::at(book)), book);
        EXPECT_TRUE(inReferenceVersion(BookAbbreviations::at(book).toString() + QStringLiteral(" 1:1")));
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::osisId(book)), book);
        EXPECT_EQ(SwordBookNames::find(SwordBookNames::englishName(book)), book);
    }
    EXPECT_TRUE(BookAbbreviations::at(0).isEmpty() && SwordBookNames::englishName(67).isEmpty());
    // Decomposed jamo of 창 are not the precomposed syllable.
    for (const char* name : {"창 ", "삼", "gen", "Genesis ", "\u110E\u1161\u11BC"}) {
        EXPECT_EQ(BookAbbreviations::find(QString::fromUtf8(name)) + SwordBookNames::find(QString::fromUtf8(name)), 0);
    }
}
