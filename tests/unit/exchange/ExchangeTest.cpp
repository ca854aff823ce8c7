// The export's plans of text and IMP files, the report of verses without text, and
// the KJV versification the IMP file follows. No database: verses are made here.

#include "exchange/KjvVersification.h"
#include "exchange/NullReport.h"
#include "exchange/VersionExport.h"
#include "import/BookAbbreviations.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QMap>
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <optional>

using exchange::ExportPlan;
using exchange::ExportResult;
using exchange::TextEncoding;
using exchange::Verse;

namespace {

// A verse of the given reference; a text of nothing is Null.
Verse verse(const char* reference, std::optional<const char*> text)
{
    Verse v;
    v.reference = QString::fromUtf8(reference);
    EXPECT_TRUE(exchange::splitReference(v.reference, v)) << reference;
    if (text) {
        v.text = QString::fromUtf8(*text);
    }
    return v;
}

QList<Verse> numbered(QList<Verse> verses)
{
    for (qsizetype i = 0; i < verses.size(); ++i) {
        verses[i].number = i + 1;
    }
    return verses;
}

QByteArray fileBytes(const ExportPlan& plan, const QString& name)
{
    for (const exchange::ExportFile& file : plan.files) {
        if (file.name == name) {
            return file.bytes;
        }
    }
    ADD_FAILURE() << "no file " << name.toStdString();
    return {};
}

} // namespace

TEST(KjvVersification, isTheKoreanTableButForItsFourChapters)
{
    QFile table(testsupport::sourceFolder() + QStringLiteral("/data/versification-ko.tsv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text));
    table.readLine();
    const QMap<QString, int> differences = {{QStringLiteral("삼상 30"), 31},
                                            {QStringLiteral("아 6"), 13},
                                            {QStringLiteral("고후 13"), 14},
                                            {QStringLiteral("요삼 1"), 14}};
    int chapters = 0;
    int books = 0;
    while (!table.atEnd()) {
        const QStringList columns = QString::fromUtf8(table.readLine()).trimmed().split(u'\t');
        ASSERT_EQ(columns.size(), 4);
        const int book = columns[0].toInt();
        const int chapter = columns[2].toInt();
        const QString key = columns[1] + u' ' + columns[2];
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(exchange::KjvVersification::verseCount(book, chapter), differences.value(key, columns[3].toInt()));
        if (chapter == exchange::KjvVersification::chapterCount(book)) {
            ++books;
        }
        ++chapters;
    }
    EXPECT_EQ(chapters, 1189);
    EXPECT_EQ(books, 66);
    EXPECT_FALSE(exchange::KjvVersification::hasVerse(22, 6, 14));
    EXPECT_TRUE(exchange::KjvVersification::hasVerse(22, 6, 13));
    EXPECT_FALSE(exchange::KjvVersification::hasVerse(1, 51, 1));
    EXPECT_FALSE(exchange::KjvVersification::hasVerse(67, 1, 1));
}

TEST(TextFiles, oneFilePerBookOfReferenceAndTextLinesInTheOrderOfTheVerses)
{
    const QList<Verse> verses = numbered({verse("창 1:1", "태초에 하나님이"), verse("창 1:2", std::nullopt),
                                          verse("창 1:3", "null"), verse("창 1:4", " 앞뒤 공백 "),
                                          verse("요삼 1:15", "평강이 너에게 있을지어다"), verse("계 22:21", "아멘")});
    for (const TextEncoding encoding : {TextEncoding::Cp949, TextEncoding::Utf8}) {
        const ExportPlan plan = exchange::planTextFiles(verses, encoding);
        ASSERT_EQ(plan.result, ExportResult::Written);
        EXPECT_EQ(plan.versesWritten, 5);
        ASSERT_EQ(plan.files.size(), 66);
        EXPECT_EQ(plan.files.first().name, QStringLiteral("01-창.txt"));
        EXPECT_EQ(plan.files[8].name, QStringLiteral("09-삼상.txt"));
        EXPECT_EQ(plan.files.last().name, QStringLiteral("66-계.txt"));

        const auto text = [&](const QString& name) {
            QByteArray bytes = fileBytes(plan, name);
            if (encoding == TextEncoding::Utf8) {
                EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
                return QString::fromUtf8(bytes.mid(3));
            }
            QStringDecoder decoder("windows-949");
            return QString(decoder.decode(bytes));
        };
        EXPECT_EQ(text(QStringLiteral("01-창.txt")),
                  QStringLiteral("창 1:1 태초에 하나님이\r\n창 1:3 null\r\n창 1:4  앞뒤 공백 \r\n"));
        EXPECT_EQ(text(QStringLiteral("64-요삼.txt")), QStringLiteral("요삼 1:15 평강이 너에게 있을지어다\r\n"));
        EXPECT_EQ(text(QStringLiteral("02-출.txt")), QString());
    }
    // Code page 949 is the default: 태 is C5 C2 there.
    EXPECT_TRUE(fileBytes(exchange::planTextFiles(verses, TextEncoding::Cp949), QStringLiteral("01-창.txt"))
                    .startsWith("\xC3\xA2 1:1 \xC5\xC2"));
}

TEST(TextFiles, refuseAWholePlanForTheFirstTextThatCannotBeOneLineOfTheEncoding)
{
    struct Row
    {
        const char* name;
        TextEncoding encoding;
        QList<Verse> verses;
        ExportResult result;
        const char* refused;
    };
    // U+2014 (EM DASH) and U+1F600 are not in code page 949; 똠 is, in Windows' table.
    const Row rows[] = {
        {"em dash", TextEncoding::Cp949,
         numbered({verse("창 1:1", "똠"), verse("출 32:32", "sin—; and if not"), verse("계 1:1", "😀")}),
         ExportResult::Unencodable, "출 32:32"},
        {"emoji", TextEncoding::Cp949, numbered({verse("창 1:1", "a"), verse("창 1:2", "b😀")}),
         ExportResult::Unencodable, "창 1:2"},
        {"line feed", TextEncoding::Utf8, numbered({verse("창 1:1", "a"), verse("창 1:2", "b\nc")}),
         ExportResult::LineBreak, "창 1:2"},
        {"carriage return", TextEncoding::Cp949, numbered({verse("창 1:1", "a\rb"), verse("창 1:2", "😀")}),
         ExportResult::LineBreak, "창 1:1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ExportPlan plan = exchange::planTextFiles(row.verses, row.encoding);
        EXPECT_EQ(plan.result, row.result);
        EXPECT_EQ(plan.refused.reference, QString::fromUtf8(row.refused));
        EXPECT_TRUE(plan.files.isEmpty());
    }
    // The same texts in UTF-8 are written.
    EXPECT_EQ(exchange::planTextFiles(rows[0].verses, TextEncoding::Utf8).result, ExportResult::Written);
}

TEST(ImpFile, keysInKjvVersificationWithTheVersesItLacksAppendedToTheVerseBefore)
{
    const QList<Verse> verses =
        numbered({verse("창 1:1", "In the beginning"), verse("창 1:2", "null"), verse("창 1:3", std::nullopt),
                  verse("삼상 30:30", "Hormah"), verse("아 6:13", "Return"), verse("아 6:14", "더 있음"),
                  verse("요삼 1:14", std::nullopt), verse("요삼 1:15", "Peace"), verse("계 22:21", "Amen")});
    const ExportPlan plan = exchange::planImpFile(verses, QStringLiteral("my.imp"));
    ASSERT_EQ(plan.result, ExportResult::Written);
    ASSERT_EQ(plan.files.size(), 1);
    EXPECT_EQ(plan.files.first().name, QStringLiteral("my.imp"));
    EXPECT_EQ(QString::fromUtf8(plan.files.first().bytes), QStringLiteral("$$$Gen 1:1\nIn the beginning\n"
                                                                          "$$$Gen 1:2\n\n"
                                                                          "$$$1Sam 30:30\nHormah\n"
                                                                          "$$$Song 6:13\nReturn 더 있음\n"
                                                                          "$$$3John 1:14\nPeace\n"
                                                                          "$$$Rev 22:21\nAmen\n"));
    EXPECT_EQ(plan.versesWritten, 7);
    const QList<exchange::MovedVerse> moved = {{QStringLiteral("아 6:14"), QStringLiteral("아 6:13")},
                                               {QStringLiteral("요삼 1:15"), QStringLiteral("요삼 1:14")}};
    EXPECT_EQ(plan.moved, moved);

    const ExportPlan refused =
        exchange::planImpFile(numbered({verse("창 1:1", "a"), verse("창 1:2", "b\r\nc")}), QStringLiteral("x.imp"));
    EXPECT_EQ(refused.result, ExportResult::LineBreak);
    EXPECT_EQ(refused.refused.reference, QStringLiteral("창 1:2"));
    EXPECT_TRUE(refused.files.isEmpty());
}

TEST(NullReport, countsTheTextsAndGathersNullVersesIntoRangesWithinAChapter)
{
    QList<Verse> verses;
    const auto add = [&](const char* book, int chapter, int first, int last, std::optional<const char*> text) {
        for (int v = first; v <= last; ++v) {
            verses.append(
                verse(QStringLiteral("%1 %2:%3").arg(QString::fromUtf8(book)).arg(chapter).arg(v).toUtf8().constData(),
                      text));
        }
    };
    add("창", 1, 1, 3, "text");
    add("창", 1, 4, 31, std::nullopt);
    add("창", 2, 1, 1, std::nullopt);
    add("창", 2, 2, 2, "null");
    add("창", 2, 3, 3, std::nullopt);
    add("창", 2, 4, 25, "text");
    add("출", 1, 1, 22, std::nullopt);
    add("레", 1, 1, 1, std::nullopt);
    const exchange::VersionReport report = exchange::reportOf(numbered(verses));
    EXPECT_EQ(report.records, 3 + 28 + 1 + 1 + 1 + 22 + 22 + 1);
    EXPECT_EQ(report.withText, 25);
    EXPECT_EQ(report.nullWord, 1);
    EXPECT_EQ(report.nullValue, 28 + 1 + 1 + 22 + 1);
    QStringList ranges;
    for (const exchange::VerseRange& range : report.nullRanges) {
        ranges << range.text();
    }
    EXPECT_EQ(ranges, (QStringList{"창 1:4-31", "창 2:1", "창 2:3", "출 1:1-22", "레 1:1"}));
}

TEST(VersionVerses, readInTheOrderOfTheirNumbersWithNullAndNullWordKept)
{
    testsupport::InstallTree tree{{QStringLiteral("null.mdb")}};
    ASSERT_TRUE(tree.isValid());
    // Added in another order than their 번호.
    const QString path =
        tree.makeVersion(QStringLiteral("order.dat"), {{3, QStringLiteral("출 1:1"), QStringLiteral("셋째")},
                                                       {1, QStringLiteral("창 1:1"), QVariant()},
                                                       {2, QStringLiteral("창 1:2"), QStringLiteral("null")}});
    ASSERT_FALSE(path.isEmpty());
    const exchange::VersionVerses read = exchange::readVersionVerses(path);
    ASSERT_TRUE(read.read());
    ASSERT_EQ(read.verses.size(), 3);
    EXPECT_EQ(read.verses[0].reference, QStringLiteral("창 1:1"));
    EXPECT_FALSE(read.verses[0].text.has_value());
    EXPECT_EQ(read.verses[1].text, QStringLiteral("null"));
    EXPECT_EQ(read.verses[2].number, 3);
    EXPECT_EQ(read.verses[2].bookNumber, 2);
    EXPECT_EQ(read.verses[2].text, QStringLiteral("셋째"));

    // A record whose reference is not canonical is named, and nothing else is given.
    const QString odd = tree.makeVersion(QStringLiteral("odd.dat"), {{1, QStringLiteral("창 1:1"), QVariant()},
                                                                     {2, QStringLiteral("창 01:2"), QVariant()}});
    const exchange::VersionVerses unreadable = exchange::readVersionVerses(odd);
    ASSERT_TRUE(unreadable.unreadable.has_value());
    EXPECT_EQ(unreadable.unreadable->number, 2);
    EXPECT_EQ(unreadable.unreadable->reference, QStringLiteral("창 01:2"));
    EXPECT_TRUE(unreadable.verses.isEmpty());
}
