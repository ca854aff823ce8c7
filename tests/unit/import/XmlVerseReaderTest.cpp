#include "import/XmlVerseReader.h"

#include "support/InstallTreeTest.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using importer::SourceFormat;
using importer::TextFileReader;
using namespace Qt::StringLiterals;

namespace {

// The entries of an XML file: "line key|text" for a verse, "line:column fault detail" for a fault.
QStringList entriesOf(const QString& path)
{
    static const QString kFaults[] = {u"MalformedXml"_s,  u"NotABible"_s,  u"MissingBookId"_s,
                                      u"UnknownBookId"_s, u"VerseRange"_s, u"TooLong"_s};
    importer::XmlVerseReader reader(path);
    QStringList entries;
    importer::SourceEntry e;
    TextFileReader::ReadResult result;
    while ((result = reader.next(e)) == TextFileReader::ReadResult::Line) {
        entries << (e.fault ? u"%1:%2 %3 %4"_s.arg(e.lineNumber).arg(e.column).arg(kFaults[int(*e.fault)], e.detail)
                            : u"%1 %2|%3"_s.arg(e.lineNumber).arg(e.key, e.text))
                       .trimmed();
    }
    EXPECT_EQ(result, TextFileReader::ReadResult::End);
    return entries;
}

} // namespace

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
         {u"3 Gen 1:1|In the beginning God created."_s, u"4 Gen 1:2|was Lord's, Let be"_s}},
        // Milestones across lines, line groups and chapters; one without its end runs to the next start and the end.
        {"<osis><chapter sID=\"Ps.1\"/><lg><l><verse sID=\"Ps.1.6\" osisID=\"Ps.1.6\"/>For the LORD</l>\n<l>knoweth"
         "<note>n<p/></note>.<verse eID=\"Ps.1.6\"/></l></lg>between<chapter eID=\"Ps.1\"/><p><verse sID=\"Ps.2.12\" "
         "osisID=\"Ps.2.12\"/>Kiss</p><chapter eID=\"Ps.2\"/><chapter sID=\"Ps.3\"/><title>A Psalm</title>the Son"
         "<verse eID=\"Ps.2.12\"/>\n<verse sID=\"Ps.3.1\" osisID=\"Ps.3.1\"/>LORD<verse sID=\"Ps.3.2\"/>Many</osis>",
         {u"1 Ps 1:6|For the LORD knoweth."_s, u"2 Ps 2:12|Kiss the Son"_s, u"3 Ps 3:1|LORD"_s, u"3 Ps 3:2|Many"_s}},
        {"<XMLBIBLE><BIBLEBOOK bnumber=\"40\" bname=\"마태복음\"><CHAPTER cnumber=\"1\"><CAPTION>c</CAPTION>\n"
         "<VERS vnumber=\"1\">The <STYLE css=\"b\">book</STYLE> of<NOTE>n</NOTE> <gr str=\"1\">the</gr><BR/>generation"
         "<DIV><NOTE>n</NOTE></DIV>of Jesus<XREF fscope=\"x\"/>.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
         {u"2 Matt 1:1|The book of the generation of Jesus."_s}},
        {"<osis><verse osisID=\"Gen.1.1&#10;Gen.1.2\">a</verse><verse osisID=\"Gen.1.3-Gen.1.4\">b</verse>\n<verse "
         "osisID="
         "\"Tob.1.1\">c</verse><verse osisID=\"Tob.1.2\">d</verse><verse osisID=\"Gen.1.5\">e</verse><verse "
         "osisID=\"Gen.1\">f</verse>\n<verse osisID=\"Gen.1.6\">g</vers></osis>",
         {u"1:0 VerseRange Gen.1.1 Gen.1.2"_s, u"1:0 VerseRange Gen.1.3-Gen.1.4"_s, u"2:0 UnknownBookId Tob"_s,
          u"2 Gen 1:5|e"_s, u"2 Gen.1|f"_s, u"3:32 MalformedXml Opening and ending tag mismatch."_s}},
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
             "<VERS vnumber=\"1\">태초에</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>"_s),
         {u"1 Gen 1:1|태초에"_s}},
    };
    const testsupport::InstallTree tree;
    for (const auto& [bytes, entries] : cases) {
        SCOPED_TRACE(bytes.left(60).toStdString());
        EXPECT_EQ(entriesOf(tree.writeFile(u"성경.xml"_s, bytes)), entries);
    }
    importer::XmlVerseReader missing(tree.beside(u"없음.xml"_s));
    importer::SourceEntry entry;
    EXPECT_EQ(missing.next(entry), TextFileReader::ReadResult::Failed);
    EXPECT_EQ(missing.failure().description, u"파일을 찾을 수 없습니다."_s);
}

TEST(TextFileKind, aFileWhoseFirstCharacterThatIsNoSpaceIsALessThanSignIsXml)
{
    const std::pair<QByteArray, SourceFormat> cases[] = {
        {" \r\n\t<?xml version=\"1.0\"?>", SourceFormat::Xml},
        {"\xEF\xBB\xBF<osis>", SourceFormat::Xml},
        {"\xFF\xFE \0<\0"_ba, SourceFormat::Xml},
        {"<!-- -->", SourceFormat::Xml},
        {"\xC3\xA2 1:1 <b>", SourceFormat::Lines},
        {"$$$Gen 1:1\n<b>", SourceFormat::Imp},
    };
    for (const auto& [bytes, format] : cases) {
        EXPECT_EQ(importer::detectTextFileKind(bytes, true).format, format) << bytes.toStdString();
    }
}
