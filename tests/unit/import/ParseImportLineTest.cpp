#include "import/ParseImportLine.h"

#include "ReferenceTable.h"
#include "support/KjvText.h"
#include "support/TestPaths.h"

#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

using importer::LineOutcome;
using importer::ParsedLine;
using importer::ParseImportLine;
using importer::ReferenceExists;

namespace {

const QSet<QString>& references()
{
    static const QSet<QString> table = testsupport::referencesOfVersificationTable(
        testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
    return table;
}

ReferenceExists inReferenceVersion()
{
    return [](const QString& reference) { return references().contains(reference); };
}

const char* outcomeName(LineOutcome outcome)
{
    switch (outcome) {
    case LineOutcome::Blank:
        return "Blank";
    case LineOutcome::MissingColon:
        return "MissingColon";
    case LineOutcome::VerseNotNumeric:
        return "VerseNotNumeric";
    case LineOutcome::VerseTooLong:
        return "VerseTooLong";
    case LineOutcome::ChapterNotFound:
        return "ChapterNotFound";
    case LineOutcome::UnknownBook:
        return "UnknownBook";
    case LineOutcome::UnknownReference:
        return "UnknownReference";
    case LineOutcome::Accepted:
        return "Accepted";
    }
    return "?";
}

struct Case
{
    const char16_t* line;
    LineOutcome outcome;
    const char16_t* reference;
    const char16_t* text;
    const char16_t* bookText;
};

} // namespace

TEST(ParseImportLine, followsTheRulesInOrder)
{
    ASSERT_EQ(references().size(), 31102);
    using enum LineOutcome;
    const Case cases[] = {
        // The rules and their examples.
        {u"창 1:1 In the beginning", Accepted, u"창 1:1", u"In the beginning", u"창"},
        {u"   창 1:1    In the beginning   ", Accepted, u"창 1:1", u"In the beginning", u"창"},
        {u"창 01:001 태초에", Accepted, u"창 1:1", u"태초에", u"창"},
        {u"창세기 1:1 태초에", UnknownBook, u"", u"태초에", u"창세기"},
        {u"창 1;1 태초에", MissingColon, u"", u"", u""},
        {u"창 1-1 태초에", MissingColon, u"", u"", u""},
        {u"창 1: 1 태초에", VerseNotNumeric, u"", u"", u""},
        {u"창 1:a 태초에", VerseNotNumeric, u"", u"", u""},
        {u"창 1:", VerseNotNumeric, u"", u"", u""},
        {u"창 1:1234 태초에", VerseTooLong, u"", u"", u""},
        {u"창 1:0001 태초에", VerseTooLong, u"", u"", u""},
        {u"창 1:123 태초에", UnknownReference, u"창 1:123", u"태초에", u"창"},
        {u"시 119:176 주의 계명을", Accepted, u"시 119:176", u"주의 계명을", u"시"},
        {u"요삼 1:15 평강이", Accepted, u"요삼 1:15", u"평강이", u"요삼"},
        {u"창1:1 태초에", ChapterNotFound, u"", u"태초에", u""},
        {u"창:1 태초에", ChapterNotFound, u"", u"태초에", u""},
        {u"삼상1:1 text", Accepted, u"삼상 1:1", u"text", u"삼상"},
        {u"1:1 태초에", UnknownBook, u"", u"태초에", u""},
        {u":1 태초에", UnknownBook, u"", u"태초에", u""},
        {u"창 51:1 태초에", UnknownReference, u"창 51:1", u"태초에", u"창"},
        {u"창 0:1 태초에", UnknownReference, u"창 0:1", u"태초에", u"창"},
        {u"창 1:1x", Accepted, u"창 1:1", u"", u"창"},
        {u"창 1:1,In", Accepted, u"창 1:1", u"In", u"창"},
        {u"창 1:1In the beginning", Accepted, u"창 1:1", u"n the beginning", u"창"},
        {u"Gen 1:1 In the beginning", UnknownBook, u"", u"In the beginning", u"Gen"},
        {u"1창 1:1 태초에", Accepted, u"창 1:1", u"태초에", u"창"},
        {u"1 창 1:1 태초에", UnknownBook, u"", u"태초에", u" 창"},
        // Blank lines: spaces only are trimmed.
        {u"", Blank, u"", u"", u""},
        {u"     ", Blank, u"", u"", u""},
        {u"\t", MissingColon, u"", u"", u""},
        // Any number of spaces between book and chapter; a two-syllable book glued to its chapter.
        {u"창      1:1 태초에", Accepted, u"창 1:1", u"태초에", u"창"},
        {u"요삼15:1 x", UnknownReference, u"요삼 15:1", u"x", u"요삼"},
        {u"고후13:13 x", Accepted, u"고후 13:13", u"x", u"고후"},
        // A second ":" stays in the text; the first one is always the one that counts.
        {u"창 1:1 시간: 태초", Accepted, u"창 1:1", u"시간: 태초", u"창"},
        {u"창 1:1:2 x", Accepted, u"창 1:1", u"2 x", u"창"},
        // Leading zeros, chapters of any length, zero.
        {u"창 001:000 x", UnknownReference, u"창 1:0", u"x", u"창"},
        {u"창 :1 x", UnknownReference, u"창 0:1", u"x", u"창"},
        {u"창 000000000000000000000000050:026 x", Accepted, u"창 50:26", u"x", u"창"},
        {u"창 123456789012345678901234567890:1 x", UnknownReference, u"창 123456789012345678901234567890:1", u"x",
         u"창"},
        // Tabs are not trimmed and not separators of the book.
        {u"\t창 1:1 x", UnknownBook, u"", u"x", u"\t창"},
        {u"창 1:1\tx", Accepted, u"창 1:1", u"x", u"창"},
        {u"창 1:1 x\t", Accepted, u"창 1:1", u"x\t", u"창"},
        {u"창\t1:1 x", UnknownBook, u"", u"x", u"창\t"},
        // Only "0" to "9" are digits.
        {u"창 １:1 x", UnknownBook, u"", u"x", u"창 １"},
        {u"창 1:１ x", VerseNotNumeric, u"", u"", u""},
        {u"창 ١:1 x", UnknownBook, u"", u"x", u"창 ١"},
        {u"Ｇｅｎ 1:1 x", UnknownBook, u"", u"x", u"Ｇｅｎ"},
        // A space after the chapter leaves no chapter digits and a digit in the book text.
        {u"창 1 :1 x", UnknownBook, u"", u"x", u""},
        // Verse digits that end the line: accepted with an empty text.
        {u"창 1:1", Accepted, u"창 1:1", u"", u"창"},
        {u"창 1:1    ", Accepted, u"창 1:1", u"", u"창"},
        {u"창 1:1 ", Accepted, u"창 1:1", u"", u"창"},
        {u"창 99:1", UnknownReference, u"창 99:1", u"", u"창"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        const ParsedLine parsed = ParseImportLine(line, inReferenceVersion());
        EXPECT_STREQ(outcomeName(parsed.outcome), outcomeName(c.outcome));
        EXPECT_EQ(parsed.reference, QString::fromUtf16(c.reference));
        EXPECT_EQ(parsed.text, QString::fromUtf16(c.text));
        EXPECT_EQ(parsed.bookText, QString::fromUtf16(c.bookText));
    }
}

TEST(ParseImportLine, asksTheExistenceTestOnlyForALineThatPassedTheTextRules)
{
    QStringList asked;
    const ReferenceExists recording = [&asked](const QString& reference) {
        asked.append(reference);
        return true;
    };
    const char16_t* const lines[] = {u"창 01:007 x", u"",      u"창 1 1",     u"창 1:a",
                                     u"창 1:1000",   u"창1:1", u"창세기 1:1", u"삼상 000:1"};
    for (const char16_t* line : lines) {
        (void)ParseImportLine(QString::fromUtf16(line), recording);
    }
    EXPECT_EQ(asked, (QStringList{QStringLiteral("창 1:7"), QStringLiteral("삼상 0:1")}));
}

TEST(ParseImportLine, theExistenceTestDecidesBetweenAcceptedAndUnknownReference)
{
    const ParsedLine refused = ParseImportLine(u"창 1:1 x", [](const QString&) { return false; });
    EXPECT_EQ(refused.outcome, LineOutcome::UnknownReference);
    EXPECT_EQ(refused.reference, QStringLiteral("창 1:1"));
    const ParsedLine accepted = ParseImportLine(u"계 99:99 x", [](const QString&) { return true; });
    EXPECT_EQ(accepted.outcome, LineOutcome::Accepted);
    EXPECT_EQ(accepted.reference, QStringLiteral("계 99:99"));
}

TEST(ParseImportLine, checksEveryLineOfTheWholeBibleAgainstTheKoreanVersification)
{
    // 31,102 KJV lines in the import form. The Korean versification has no 삼상 30:31 and no
    // 고후 13:14 (it numbers those verses into 삼상 30 and 고후 13 differently); every other
    // line is accepted with a reference of its own and a text.
    const QStringList bible = testsupport::kjvLines();
    ASSERT_EQ(bible.size(), 31102);
    QSet<QString> accepted;
    QStringList unknown;
    int lines = 0;
    for (const QString& line : bible) {
        const ParsedLine parsed = ParseImportLine(line, inReferenceVersion());
        if (parsed.outcome == LineOutcome::UnknownReference) {
            unknown.append(parsed.reference);
            continue;
        }
        ASSERT_EQ(parsed.outcome, LineOutcome::Accepted) << line.toStdString();
        ASSERT_FALSE(parsed.text.isEmpty()) << line.toStdString();
        accepted.insert(parsed.reference);
        ++lines;
    }
    EXPECT_EQ(lines, 31100);
    EXPECT_EQ(accepted.size(), 31100);
    EXPECT_EQ(unknown, (QStringList{QStringLiteral("삼상 30:31"), QStringLiteral("고후 13:14")}));
}
