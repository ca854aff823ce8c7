#include "import/UsfmVerseReader.h"

#include "support/InstallTree.h"

#include <gtest/gtest.h>

using importer::SourceFormat;
using importer::TextFileReader;
using E = importer::TextEncoding;
using namespace Qt::StringLiterals;

namespace {

// Every entry of a file as "line key=text" or "line !fault detail".
QStringList entriesOf(const QString& path)
{
    static const char* const kFaults[] = {"MalformedXml",  "NotABible",  "MissingBookId",
                                          "UnknownBookId", "VerseRange", "TooLong"};
    TextFileReader reader(path);
    EXPECT_TRUE(reader.open());
    EXPECT_EQ(reader.format(), SourceFormat::Usfm);
    importer::UsfmVerseReader verses(reader);
    QStringList entries;
    importer::SourceEntry e;
    for (TextFileReader::ReadResult read; (read = verses.next(e)) != TextFileReader::ReadResult::End;) {
        EXPECT_EQ(read, TextFileReader::ReadResult::Line);
        entries << QString::number(e.lineNumber) +
                       (e.fault ? u" !"_s + QLatin1StringView(kFaults[static_cast<int>(*e.fault)]) + u' ' + e.detail
                                : u' ' + e.key + u'=' + e.text);
    }
    return entries;
}

} // namespace

TEST(UsfmVerseReader, keepsTheWordsOfVersesAndLeavesOutMarkersNotesAndHeadings)
{
    const QString longLine(importer::kLongestSourceText / 2 + 1, u'x');
    const QString tooLongLine(importer::kLongestSourceText + 1, u'y');
    const std::pair<QString, QStringList> cases[] = {
        {u"\\id GEN King James\n\\h Genesis\n\\toc1 The First Book\n\\mt1 The First\nBook\n\\c 1\n\\s1 The Creation\n"
         "\\r (Jn 1:1)\n\\p\n\\v 1 In  the beginning\\f + \\fr 1:1 \\ft A \\fq note\\f* God\ncreated\\x - \\xo 1:1 "
         "\\xt Jn 1:1\\x*, the \\nd LORD\\nd*'s \\w heaven|strong=\"H8064\"\\w*\\fe + x\\fe*.\n\\q1 \\v 2 And\\q2 "
         "the \\wj earth \\+add was\\+add*\\wj*\t|\n\\b\n\\m \\v 3 x~y // z \\ \\*\n\\v 4\n\\v 5 \\va 5b\\va* "
         "\\vp 5a\\vp* a\\f + open note\n\\q1 b \\qt-s |who=\"Jesus\"\\*c\\qt-e\\* \\esb \\p sidebar \\esbe d"_s,
         {u"10 Gen 1:1=In the beginning God created, the LORD's heaven."_s, u"12 Gen 1:2=And the earth was |"_s,
          u"14 Gen 1:3=x\u00A0y z \\"_s, u"15 Gen 1:4="_s, u"16 Gen 1:5=a b c d"_s}},
        // A file's chapters before its first book, a book not among the 66, psalm titles, ranges, several books.
        {u"\n\\c 1\n\\v 1 lost\n\\id TOB\n\\c 1\n\\v 1 Tobit\n\\id PSA\n\\c 3\n\\d A Psalm of David.\n\\qa Aleph\n"
         "\\q1 \\v 1 LORD,\n\\q2 how\n\\v 2-3 Many\n\\v 4 \\sp Speaker\n\\id rev\n\\v 1 no chapter\n\\cl Chapter\n"
         "\\c 22 \\cp B\n\\ms Heading \\v 21 grace\\f + a \\v 22 after an open note\n\\id"_s,
         {u"2 !MissingBookId "_s, u"4 !UnknownBookId TOB"_s, u"11 Ps 3:1=LORD, how"_s, u"13 !VerseRange 2-3"_s,
          u"14 Ps 3:4="_s, u"16 Rev :1=no chapter"_s, u"19 Rev 22:21=grace"_s, u"19 Rev 22:22=after an open note"_s,
          u"20 !UnknownBookId "_s}},
        // Too long: a verse of lines that are not, and a line; the verse the line continues is lost with it.
        {u"\\id JHN\n\\c 3\n\\v 16 "_s + longLine + u'\n' + longLine + u"\n\\v 17 ok\n\\v 18 gone\n"_s + tooLongLine +
             u"\n\\v 19 \\v 20"_s,
         {u"3 !TooLong "_s, u"5 John 3:17=ok"_s, u"7 !TooLong "_s, u"8 John 3:19="_s, u"8 John 3:20="_s}},
    };
    const testsupport::InstallTree tree;
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.left(60).toStdString());
        EXPECT_EQ(entriesOf(tree.writeFile(u"본문.usfm"_s, text.toUtf8())), expected);
    }
}

TEST(UsfmVerseReader, isRecognisedByAMarkerAtTheStartOfItsFirstLineAndIsUtf8WithoutAMark)
{
    const std::tuple<QByteArray, SourceFormat, E> cases[] = {
        {"\r\n  \n\\id GEN \xEC\xB0\xBD", SourceFormat::Usfm, E::Utf8},
        {"\xFF\xFE\\\0c\0"_ba, SourceFormat::Usfm, E::Utf16LE},
        {" \\id GEN", SourceFormat::Lines, E::Cp949},
        {"\\1 \\id", SourceFormat::Lines, E::Cp949},
        {"\xC3\xA2 1:1 \\v", SourceFormat::Lines, E::Cp949},
    };
    for (const auto& [bytes, format, encoding] : cases) {
        const importer::TextFileKind kind = importer::detectTextFileKind(bytes, true);
        EXPECT_EQ(std::pair(kind.format, kind.encoding), std::pair(format, encoding)) << bytes.toStdString();
    }
}
