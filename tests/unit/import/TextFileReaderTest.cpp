#include "import/TextFileReader.h"

#include "support/InstallTree.h"

#include <gtest/gtest.h>

using importer::TextFileReader;
using E = TextFileReader::Encoding;
using namespace Qt::StringLiterals;

TEST(TextFileReader, readsLinesInTheEncodingItJudgesFromAMarkOrFromTheBooksLinesBeginWith)
{
    const QString first(64 * 1024 - 1, u'x');
    const QString longLine(300 * 1024, u'y');
    // Korean UTF-8 lines past the first 64 KiB, which ends inside the 창 of a line.
    const QByteArray verse = u"창 1:1 태초에\n"_s.toUtf8();
    const QByteArray prefix = QByteArray(64 * 1024 % verse.size() - 2, 'x') + "\n";
    const qsizetype verses = 64 * 1024 / verse.size() + 2;
    ASSERT_EQ((prefix + verse.repeated(verses)).at(64 * 1024 - 1), '\xEC');
    struct Case
    {
        const char* name;
        QByteArray bytes;
        E encoding;
        QStringList lines;
        bool imp = false;
    };
    const Case cases[] = {
        {"line ends", "a\r\nb\rc\nd", E::Cp949, {"a", "b", "c", "d"}},
        {"spaces and NUL kept", "  a\0b  \r\n"_ba, E::Cp949, {QString::fromUtf16(u"  a\0b  ", 7)}},
        {"CR LF across reads", (first + "\r\n" + longLine + "\rz").toLatin1(), E::Cp949, {first, longLine, "z"}},
        {"code page 949", "\xC3\xA2 1:1 \xC5\xC2\xC3\xCA\xBF\xA1\r\n\x8C\x63", E::Cp949, {u"창 1:1 태초에"_s, u"똠"_s}},
        {"bad 949",
         "\xC3\r\xC8\n\xC8!\xB0 B\r\nD\xB0",
         E::Cp949,
         {u"\uFFFD"_s, u"\uFFFD"_s, u"\uFFFD!\uFFFD B"_s, u"D\uFFFD"_s}},
        {"UTF-8 mark, later marks are text, bad UTF-8",
         "\xEF\xBB\xBF\xEC\xB0\xBD 1:1\r\n\xEF\xBB\xBFz\xFF\nz\xE2\x82",
         E::Utf8,
         {u"창 1:1"_s, u"\uFEFFz\uFFFD"_s, u"z\uFFFD\uFFFD"_s}},
        {"UTF-16LE",
         "\xFF\xFE\x3D\xCC \0x\0\r\0\n\0z\0\x0D\x0Az\0\n\0y\0z"_ba,
         E::Utf16LE,
         {u"창 x"_s, u"z\u0A0Dz"_s, u"y\uFFFD"_s}},
        {"UTF-16BE", "\xFE\xFF\xCC\x3D\0 \0x\0\r\0z"_ba, E::Utf16BE, {u"창 x"_s, "z"}},
        // English in code page 949 is well-formed UTF-8 too: "창" is C3 A2 there. The books decide.
        {"a tie", "\xC3\xA2 1:1\n\xEC\xB0\xBD 1:2", E::Cp949, {u"창 1:1"_s, u"\uF9E1\uFFFD 1:2"_s}},
        {"UTF-8 by 1",
         "\xC3\xA2 1:1\n\xEC\xB0\xBD 1:2\n  \xEC\xB0\xBD 1:3",
         E::Utf8,
         {u"\u00E2 1:1"_s, u"창 1:2"_s, u"  창 1:3"_s}},
        {"64 KiB end inside a character", prefix + verse.repeated(verses) + "\xFF", E::Utf8,
         QStringList{QString::fromLatin1(prefix.chopped(1))} + QStringList(verses, u"창 1:1 태초에"_s) +
             QStringList{u"\uFFFD"_s}},
        {"IMP", "\n  \r\n$$$Genesis 1:6\n\xC2\xB6 And", E::Utf8, {"", "  ", "$$$Genesis 1:6", u"¶ And"_s}, true},
        {"IMP with a mark", "\xFF\xFE$\0$\0$\0G\0"_ba, E::Utf16LE, {"$$$G"}, true},
        {"key after a verse", "\xC3\xA2 1:1\n$$$Gen 1:1", E::Cp949, {u"창 1:1"_s, "$$$Gen 1:1"}},
        {"key not at the start", "  $$$Gen 1:1", E::Cp949, {"  $$$Gen 1:1"}},
    };
    const testsupport::InstallTree tree;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextFileReader reader(tree.writeFile(u"본문.txt"_s, c.bytes));
        ASSERT_TRUE(reader.open());
        EXPECT_EQ(reader.encoding(), c.encoding);
        EXPECT_EQ(reader.isImp(), c.imp);
        QStringList lines;
        TextFileReader::ReadResult result;
        for (QString line; (result = reader.readLine(line)) == TextFileReader::ReadResult::Line;) {
            lines.append(line);
        }
        EXPECT_EQ(result, TextFileReader::ReadResult::End);
        EXPECT_EQ(lines, c.lines);
    }
}
