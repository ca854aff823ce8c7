#include "import/UsfmVerseReader.h"
#include "import/XmlVerseReader.h"
#include "support/InstallTree.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using importer::SourceFormat;
using importer::TextFileReader;
using E = importer::TextEncoding;
using namespace Qt::StringLiterals;

namespace {

// The entries of a verse source: "line key|text" for a verse, "line:column fault detail" for a fault.
QStringList entriesOf(importer::VerseSource& source)
{
    static const char* const kFaults[] = {"MalformedXml",  "NotABible",  "MissingBookId", "TextBeforeBookId",
                                          "UnknownBookId", "VerseRange", "TooLong"};
    QStringList entries;
    importer::SourceEntry e;
    TextFileReader::ReadResult result;
    while ((result = source.next(e)) == TextFileReader::ReadResult::Line) {
        entries << (e.fault ? u"%1:%2 %3 %4 %5"_s.arg(e.lineNumber)
                                  .arg(e.column)
                                  .arg(kFaults[int(*e.fault)], e.detail,
                                       e.key.isEmpty() ? QString() : u"["_s + e.key + u"]"_s)
                                  .trimmed()
                            : u"%1 %2|%3"_s.arg(e.lineNumber).arg(e.key, e.text));
    }
    EXPECT_EQ(result, TextFileReader::ReadResult::End);
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
         {u"10 Gen 1:1|In the beginning God created, the LORD's heaven."_s, u"12 Gen 1:2|And the earth was |"_s,
          u"14 Gen 1:3|x\u00A0y z \\"_s, u"15 Gen 1:4|"_s, u"16 Gen 1:5|a b c d"_s}},
        // A file's chapters before its first book, a book not among the 66, psalm titles, ranges, several books.
        {u"\n\\c 1\n\\v 1 lost\n\\id TOB\n\\c 1\n\\v 1 Tobit\n\\id PSA\n\\c 3\n\\d A Psalm of David.\n\\qa Aleph\n"
         "\\q1 \\v 1 LORD,\n\\q2 how\n\\v 2-3 Many\n\\v 4 \\sp Speaker\n\\id rev\n\\v 1 no chapter\n\\cl Chapter\n"
         "\\c 22 \\cp B\n\\ms Heading \\v 21 grace\\f + a \\v 22 after an open note\n\\id"_s,
         {u"2:0 MissingBookId"_s, u"4:0 UnknownBookId TOB"_s, u"11 Ps 3:1|LORD, how"_s, u"13:0 VerseRange 2-3"_s,
          u"14 Ps 3:4|"_s, u"16 Rev :1|no chapter"_s, u"19 Rev 22:21|grace"_s, u"19 Rev 22:22|after an open note"_s,
          u"20:0 UnknownBookId"_s}},
        // A licence before the first book: one finding, and the book is read.
        {u"Copyright 2026\nCC BY 4.0, see\n\\rem made by hand\n\\id JHN\n\\c 1\n\\v 1 In the beginning"_s,
         {u"1:0 TextBeforeBookId"_s, u"6 John 1:1|In the beginning"_s}},
        // Too long: a verse of lines that are not, and a line; the verse the line continues is lost with it.
        {u"\\id JHN\n\\c 3\n\\v 16 "_s + longLine + u'\n' + longLine + u"\n\\v 17 ok\n\\v 18 gone\n"_s + tooLongLine +
             u"\n\\v 19 \\v 20"_s,
         {u"3:0 TooLong"_s, u"5 John 3:17|ok"_s, u"7:0 TooLong"_s, u"8 John 3:19|"_s, u"8 John 3:20|"_s}},
    };
    const testsupport::InstallTree tree;
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.left(60).toStdString());
        TextFileReader reader(tree.writeFile(u"본문.usfm"_s, text.toUtf8()));
        ASSERT_TRUE(reader.open() && reader.format() == SourceFormat::Usfm);
        importer::UsfmVerseReader verses(reader);
        EXPECT_EQ(entriesOf(verses), expected);
    }
}

TEST(XmlVerseReader, readsOsisAndZefaniaVersesWithoutNotesAndReportsTheFaultsOfTheFile)
{
    const QByteArray half(importer::kLongestSourceText / 2 + 1, 'x');
    const QByteArray entity = "<!DOCTYPE osis [<!ENTITY nb \"&#160;\"><!ENTITY L \"LORD\">]>\n";
    const std::pair<QByteArray, QStringList> cases[] = {
        {"<?xml version=\"1.0\"?>\n<osis xmlns=\"http://www.bibletechnologies.net/2003/OSIS/namespace\"><header><title>"
         "KJV</title></header><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><title>Creation</title>\n"
         "<verse osisID=\"Gen.1.1\">In the <w lemma=\"H7225\">beginning</w><note>Or, <reference>at first</reference>"
         "</note>\n  God\tcreated.</verse><verse osisID=\" KJV:Gen.1.2!a \"><transChange>was</transChange> <divineName>"
         "Lord</divineName><hi>'s</hi>, <q>Let</q><p>be</p></verse></chapter></div></osis>",
         {u"3 Gen 1:1|In the beginning God created."_s, u"4 Gen 1:2|was LORD's, Let be"_s}},
        // Milestones across lines, line groups and chapters; one without its end runs to the next start and the end.
        {"<osis><chapter sID=\"Ps.1\"/><lg><l><verse sID=\"Ps.1.6\" osisID=\"Ps.1.6\"/>For the LORD</l>\n<l>knoweth"
         "<note>n<p/></note>.<verse eID=\"Ps.1.6\"/></l></lg>between<chapter eID=\"Ps.1\"/><p><verse sID=\"Ps.2.12\" "
         "osisID=\"Ps.2.12\"/>Kiss</p><chapter eID=\"Ps.2\"/><chapter sID=\"Ps.3\"/><title>A Psalm</title>the Son"
         "<verse eID=\"Ps.2.12\"/>\n<verse sID=\"Ps.3.1\" osisID=\"Ps.3.1\"/>LORD<verse sID=\"Ps.3.2\"/>Many</osis>",
         {u"1 Ps 1:6|For the LORD knoweth."_s, u"2 Ps 2:12|Kiss the Son"_s, u"3 Ps 3:1|LORD"_s, u"3 Ps 3:2|Many"_s}},
        // A heading between a preverse div's milestones is not the verse's; a divine name is capitals to an apostrophe.
        {"<osis><verse osisID=\"Song.1.2\"><div type=\"x-milestone\" subType=\"x-preverse\" sID=\"p\"/><speaker>"
         "Beloved</speaker><div type=\"x-milestone\" subType=\"x-preverse\" eID=\"p\"/>Let him <speaker>Friends"
         "</speaker> kiss, <divineName>Lord’s</divineName></verse></osis>",
         {u"1 Song 1:2|Let him Friends kiss, LORD’s"_s}},
        {"<XMLBIBLE><BIBLEBOOK bnumber=\"40\" bname=\"마태복음\"><CHAPTER cnumber=\"1\"><CAPTION>c</CAPTION>\n"
         "<VERS vnumber=\"1\">The <STYLE css=\"b\">book</STYLE> of<NOTE>n</NOTE> <gr str=\"1\">the</gr><BR/>generation"
         "<DIV><NOTE>n</NOTE></DIV>of Jesus<XREF fscope=\"x\"/>.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
         {u"2 Matt 1:1|The book of the generation of Jesus."_s}},
        {"<osis><verse osisID=\"Gen.1.1&#10;Gen.1.2\">a</verse><verse osisID=\"Gen.1.3-Gen.1.4\">b</verse>\n<verse "
         "osisID="
         "\"Tob.1.1\">c</verse><verse osisID=\"Tob.1.2\">d</verse><verse osisID=\"Gen.1.5\">e</verse><verse "
         "osisID=\"Gen.1\">f</verse>\n<verse osisID=\"Gen.1.6\">g</vers></osis>",
         {u"1:0 VerseRange Gen.1.1 Gen.1.2"_s, u"1:0 VerseRange Gen.1.3-Gen.1.4"_s, u"2:0 UnknownBookId Tob"_s,
          u"2 Gen 1:5|e"_s, u"2 Gen.1|f"_s, u"3:32 MalformedXml Opening and ending tag mismatch. [Gen 1:6]"_s}},
        // Malformed XML costs the verse it is in: reading resumes at the next verse, chapter or book.
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osis:osis xmlns:osis=\"o\"><div><chapter osisID=\"Exod.6\">"
         "<verse osisID=\"Exod.6.1\">a</verse>\n<verse osisID=\"Exod.6.2\">the <note>LORD <divineName>x</note> "
         "<!-- <verse osisID=\"Exod.6.9\"> ---></verse>\n</p><verse osisID=\"Exod.6.3\">가 <w>b</w></verse></p><verse "
         "osisID=\"Exod.6.4\">c</x></verse>\n<verse sID=\"Exod.6.5\"/>d<verse eID=\"Exod.6.5\"/></chapter></div>"
         "<osis:div><chapter osisID=\"Lev.1\"><verse osisID=\"Lev.1.1\">e</verse></chapter></osis:div></osis:osis>",
         {u"2 Exod 6:1|a"_s, u"3:60 MalformedXml Opening and ending tag mismatch. [Exod 6:2]"_s, u"4 Exod 6:3|가 b"_s,
          u"4:51 MalformedXml Opening and ending tag mismatch."_s,
          u"4:81 MalformedXml Opening and ending tag mismatch. [Exod 6:4]"_s, u"5 Exod 6:5|d"_s, u"5 Lev 1:1|e"_s}},
        {"<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"2\"><VERS vnumber=\"1\">a<b></VERS>\n<VERS "
         "vnumber=\"2\">b</VERS></CHAPTER></BIBLEBOOK><BIBLEBOOK bnumber=\"2\"><CHAPTER cnumber=\"3\">&bad;\n"
         "<VERS vnumber=\"4\">c</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
         {u"1:83 MalformedXml Opening and ending tag mismatch. [Gen 2:1]"_s, u"2 Gen 2:2|b"_s,
          u"2:97 MalformedXml Entity 'bad' not declared."_s, u"3 Exod 3:4|c"_s}},
        {"<XMLBIBLE><BIBLEBOOK bnumber=\"67\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">a</VERS><VERS vnumber=\"2\">b"
         "</VERS></CHAPTER></BIBLEBOOK>\n<BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"2\"><VERS vnumber=\"1-2\">c</VERS>"
         "<VERS vnumber=\"3\">d</VERS></CHAPTER></BIBLEBOOK><BIBLEBOOK bnumber=\"2\"><CHAPTER cnumber=\"1\"><VERS",
         {u"1:0 UnknownBookId 67"_s, u"2:0 VerseRange 1-2"_s, u"2 Gen 2:3|d"_s,
          u"2:169 MalformedXml Premature end of document."_s}},
        {" \n<html><body/></html>", {u"2:0 NotABible html"_s}},
        {"<osis>" + QByteArray("<p>").repeated(300), {u"1:774 MalformedXml Elements are nested more than 256 deep."_s}},
        // Small entities are expanded; one that stands for much more than its reference is refused.
        {entity + "<osis><verse osisID=\"Gen.1.1\">the&nb;&L;</verse></osis>", {u"2 Gen 1:1|the\u00A0LORD"_s}},
        {"<!DOCTYPE osis [<!ENTITY a \"" + QByteArray(100, 'a') + "\">]><osis>&a;&a;</osis>",
         {u"1:132 MalformedXml Entity 'a' expands to more than 16 characters for each byte of its reference."_s}},
        // A verse too long is left out; a text too long for the XML reader to hold ends the file.
        {"<osis><verse osisID=\"Gen.1.1\">" + half + "<w/>" + half +
             "</verse><verse osisID=\"Gen.1.2\">b</verse>\n"
             "<verse osisID=\"Gen.1.3\">" +
             half.repeated(7) + "</verse><verse osisID=\"Gen.1.4\">d</verse></osis>",
         {u"1:0 TooLong"_s, u"1 Gen 1:2|b"_s, u"2:0 TooLong"_s}},
        {QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(
             u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\">"
             "<VERS vnumber=\"1\">태초에</VERS><VERS vnumber=\"2\">a</b></VERS><VERS vnumber=\"3\">b</VERS>"
             "</CHAPTER></BIBLEBOOK></XMLBIBLE>"_s),
         {u"1 Gen 1:1|태초에"_s, u"1:144 MalformedXml Opening and ending tag mismatch. [Gen 1:2]"_s}},
    };
    const testsupport::InstallTree tree;
    for (const auto& [bytes, entries] : cases) {
        SCOPED_TRACE(bytes.left(60).toStdString());
        importer::XmlVerseReader reader(tree.writeFile(u"성경.xml"_s, bytes));
        EXPECT_EQ(entriesOf(reader), entries);
    }
    importer::XmlVerseReader missing(tree.beside(u"없음.xml"_s));
    importer::SourceEntry entry;
    EXPECT_EQ(missing.next(entry), TextFileReader::ReadResult::Failed);
    EXPECT_EQ(missing.failure().description, u"파일을 찾을 수 없습니다."_s);
}

// A verse's markup as a SWORD module stores it gives the text an OSIS file's verse gives, whole XML or not.
TEST(OsisMarkupText, keepsTheWordsAndLeavesOutNotesTitlesAndTheHeadingBeforeTheVerse)
{
    const std::pair<QString, QString> cases[] = {
        {u"In the <w lemma=\"strong:H7225\">beginning</w> God"_s, u"In the beginning God"_s},
        {u"word<note type=\"x\">a <hi>note</hi></note> next<title>T</title>"_s, u"word next"_s},
        {u"<div type=\"x-milestone\" subType=\"x-preverse\" sID=\"p\"/><speaker>Beloved</speaker> <lg sID=\"g\"/>"
         u"<div type=\"x-milestone\" subType=\"x-preverse\" eID=\"p\"/>Let him"_s,
         u"Let him"_s},
        {u"the <divineName>Lord</divineName>’s <divineName>Jah’s</divineName>"_s, u"the LORD’s JAH’s"_s},
        {u"a<lb/>b<osis:l>c</osis:l>d<transChange>e</transChange>f"_s, u"a b c def"_s},
        {u"&amp; &lt;&gt; &#x41;&#66; &nbsp; &unknown; R&D"_s, u"& <> AB &nbsp; &unknown; R&D"_s},
        {u"<q who=\"Jesus\" sID=\"q1\"/>Follow me, 3 < 4 <q eID=\"q1\"/> 1<2>0"_s, u"Follow me, 3 < 4 1<2>0"_s},
        {u"unclosed <note>left out"_s, u"unclosed"_s},
        {u"<!-- a comment --> text <?pi x?>"_s, u"text"_s},
        {u" \t\r\n "_s, QString()},
    };
    for (const auto& [markup, text] : cases) {
        EXPECT_EQ(importer::osisMarkupText(markup), text) << markup.toStdString();
    }
}

// A mark chooses the encoding; '<' makes XML, a marker or "\id" in 40 lines USFM, "$$$" IMP, others code page 949.
TEST(TextFileKind, isJudgedFromTheMarkAndTheFirstLine)
{
    const std::tuple<QByteArray, SourceFormat, E> cases[] = {
        {"\r\n  \n\\id GEN \xEC\xB0\xBD", SourceFormat::Usfm, E::Utf8},
        {"\xFF\xFE\\\0c\0"_ba, SourceFormat::Usfm, E::Utf16LE},
        {" \\id GEN", SourceFormat::Lines, E::Cp949},
        {"Copyright (c) 2026\r\n\r\nCC BY-SA\n" + QByteArray("-\n").repeated(36) + "\\id GEN", SourceFormat::Usfm,
         E::Utf8},
        {QByteArray("-\n").repeated(40) + "\\id GEN", SourceFormat::Lines, E::Cp949},
        {"\\1 \\id", SourceFormat::Lines, E::Cp949},
        {"\xC3\xA2 1:1 \\v", SourceFormat::Lines, E::Cp949},
        {"\xEF\xBB\xBF<osis>", SourceFormat::Xml, E::Utf8},
        {"\xFF\xFE \0<\0"_ba, SourceFormat::Xml, E::Utf16LE},
        {"\xC3\xA2 1:1 <b>", SourceFormat::Lines, E::Cp949},
        {"$$$Gen 1:1\n<b>", SourceFormat::Imp, E::Utf8},
        {" \r\n\t<?xml version=\"1.0\"?>", SourceFormat::Xml, E::Cp949},
        {"<!-- -->", SourceFormat::Xml, E::Cp949},
    };
    for (const auto& [bytes, format, encoding] : cases) {
        const importer::TextFileKind kind = importer::detectTextFileKind(bytes, true);
        EXPECT_EQ(std::pair(kind.format, kind.encoding), std::pair(format, encoding)) << bytes.toStdString();
    }
}
