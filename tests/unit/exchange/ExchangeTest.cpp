// The export's plans of text and IMP files, and the verses it reads.

#include "exchange/VersionExport.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

using exchange::ExportPlan;
using exchange::ExportResult;
using exchange::TextEncoding;
using exchange::Verse;

namespace {

// Verses of these references, numbered from 1; a text of nothing is Null.
QList<Verse> verses(std::initializer_list<std::pair<const char*, std::optional<const char*>>> list)
{
    QList<Verse> all;
    for (const auto& [reference, text] : list) {
        Verse v;
        v.reference = QString::fromUtf8(reference);
        EXPECT_TRUE(books::splitReference(v.reference, v)) << reference;
        v.number = all.size() + 1;
        if (text) {
            v.text = QString::fromUtf8(*text);
        }
        all << v;
    }
    return all;
}

} // namespace

// One file per book of the reference, in the order of the verses; "null" is a text, Null none, spaces are kept.
TEST(TextFiles, oneFilePerBookOfReferenceAndTextLinesInTheOrderOfTheVerses)
{
    const ExportPlan plan = exchange::planTextFiles(
        verses({{"창 1:1", "태초에"}, {"창 1:2", std::nullopt}, {"창 1:3", "null"}, {"창 1:4", " 앞뒤 공백 "}}),
        TextEncoding::Utf8);
    ASSERT_EQ(plan.files.size(), 66);
    EXPECT_EQ(plan.files.first().bytes,
              "\xEF\xBB\xBF"_ba + u"창 1:1 태초에\r\n창 1:3 null\r\n창 1:4  앞뒤 공백 \r\n"_s.toUtf8());
    EXPECT_EQ(plan.files.last().bytes, "\xEF\xBB\xBF"_ba);
}

// U+2014 (EM DASH) and U+1F600 are not in code page 949; 똠 is, in Windows' table.
TEST(TextFiles, refuseAWholePlanForTheFirstTextThatCannotBeOneLineOfTheEncoding)
{
    const std::tuple<TextEncoding, QList<Verse>, ExportResult, const char*> rows[] = {
        {TextEncoding::Cp949, verses({{"창 1:1", "똠"}, {"출 32:32", "sin—; and if not"}, {"계 1:1", "😀"}}),
         ExportResult::Unencodable, "출 32:32"},
        {TextEncoding::Utf8, verses({{"창 1:1", "a"}, {"창 1:2", "b\nc"}}), ExportResult::LineBreak, "창 1:2"},
        {TextEncoding::Cp949, verses({{"창 1:1", "a\rb"}, {"창 1:2", "😀"}}), ExportResult::LineBreak, "창 1:1"},
    };
    for (const auto& [encoding, rowVerses, result, refused] : rows) {
        const ExportPlan plan = exchange::planTextFiles(rowVerses, encoding);
        EXPECT_EQ(plan.result, result) << refused;
        EXPECT_EQ(plan.refused.reference, QString::fromUtf8(refused));
        EXPECT_TRUE(plan.files.isEmpty());
    }
}

TEST(ImpFile, keysInKjvVersificationWithTheVersesItLacksAppendedToTheVerseBefore)
{
    const ExportPlan plan = exchange::planImpFile(verses({{"창 1:1", "In the beginning"},
                                                          {"창 1:2", "null"},
                                                          {"창 1:3", std::nullopt},
                                                          {"아 6:13", "Return"},
                                                          {"아 6:14", "더 있음"},
                                                          {"요삼 1:14", std::nullopt},
                                                          {"요삼 1:15", "Peace"},
                                                          {"계 22:21", "Amen"}}),
                                                  u"my.imp"_s);
    ASSERT_EQ(plan.files.size(), 1);
    EXPECT_EQ(QString::fromUtf8(plan.files.first().bytes),
              QStringLiteral("$$$Gen 1:1\nIn the beginning\n$$$Gen 1:2\n\n"
                             "$$$Song 6:13\nReturn 더 있음\n$$$3John 1:14\nPeace\n$$$Rev 22:21\nAmen\n"));
    EXPECT_EQ(plan.versesWritten, 6);
    EXPECT_EQ(plan.moved,
              (QList<exchange::MovedVerse>{{u"아 6:14"_s, u"아 6:13"_s}, {u"요삼 1:15"_s, u"요삼 1:14"_s}}));
    const ExportPlan refused = exchange::planImpFile(verses({{"창 1:1", "a"}, {"창 1:2", "b\r\nc"}}), u"x.imp"_s);
    EXPECT_EQ(refused.result, ExportResult::LineBreak);
    EXPECT_EQ(refused.refused.reference, u"창 1:2"_s);
    EXPECT_TRUE(refused.files.isEmpty());
}
