#include "import/TextFileReader.h"

#include "support/KjvText.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using importer::TextFileReader;

namespace {

class TextFileReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("본문.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }

    // Every line of a file written with the given bytes.
    QStringList linesOf(const QByteArray& bytes, TextFileReader::Encoding* encoding = nullptr)
    {
        TextFileReader reader(write(bytes));
        EXPECT_TRUE(reader.open());
        QStringList lines;
        QString line;
        for (;;) {
            const TextFileReader::ReadResult result = reader.readLine(line);
            if (result != TextFileReader::ReadResult::Line) {
                EXPECT_EQ(result, TextFileReader::ReadResult::End);
                break;
            }
            lines.append(line);
        }
        if (encoding) {
            *encoding = reader.encoding();
        }
        return lines;
    }

    QTemporaryDir m_dir;
};

struct Case
{
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

QByteArray bytes(const char* text, qsizetype size)
{
    return QByteArray(text, size);
}

} // namespace

TEST_F(TextFileReaderTest, endsLinesAtCarriageReturnLineFeedOrALoneCarriageReturnOrLineFeed)
{
    const Case cases[] = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone LF inside CR LF lines", "a\nb\r\nc", {"a", "b", "c"}},
        {"LF line ends", "a\nb\nc\n", {"a", "b", "c"}},
        {"LF then CR LF", "a\n\r\nb", {"a", "", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"empty file", "", {}},
        {"one blank line", "\r\n", {""}},
        {"blank lines", "\r\n\r\n", {"", ""}},
        {"CR before CR LF", "\r\r\n", {"", ""}},
        {"LF CR", "\n\r", {"", ""}},
        {"spaces kept", "  a  \r\n", {"  a  "}},
        {"NUL kept", bytes("a\0b\r\n", 5), {QString::fromUtf16(u"a\0b", 3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesOf(c.bytes), c.lines);
    }
}

TEST_F(TextFileReaderTest, findsLineEndsAcrossReadBuffers)
{
    // A CR as the last byte of one read and its LF as the first of the next; then a line far longer
    // than a read.
    const QByteArray first(64 * 1024 - 1, 'x');
    const QByteArray longLine(300 * 1024, 'y');
    const QByteArray file = first + "\r\n" + longLine + "\r" + "z";
    EXPECT_EQ(linesOf(file), (QStringList{QString::fromLatin1(first), QString::fromLatin1(longLine), "z"}));

    const QByteArray second(64 * 1024 - 2, 'x');
    EXPECT_EQ(linesOf(second + "\r\r\n"), (QStringList{QString::fromLatin1(second), ""}));
}

TEST_F(TextFileReaderTest, decodesCodePage949)
{
    // 창 is C3 A2, 태 C5 C2, 초 C3 CA, 에 BF A1 in code page 949; 똠 (8C 63) is only in its extension.
    TextFileReader::Encoding encoding{};
    EXPECT_EQ(linesOf("\xC3\xA2 1:1 \xC5\xC2\xC3\xCA\xBF\xA1\r\n\x8C\x63", &encoding),
              (QStringList{QStringLiteral("창 1:1 태초에"), QStringLiteral("똠")}));
    EXPECT_EQ(encoding, TextFileReader::Encoding::Cp949);
}

TEST_F(TextFileReaderTest, turnsInvalidCodePage949BytesIntoReplacementCharacters)
{
    const Case cases[] = {
        {"lead byte before a space", "A\xB0 B", {QStringLiteral("A\uFFFD B")}},
        {"lead byte at the end of a line", "A\xB0\r\nB", {QStringLiteral("A\uFFFD"), "B"}},
        {"lead byte at the end of the file", "A\xB0", {QStringLiteral("A\uFFFD")}},
        {"lead byte before CR alone", "\xC3\r", {QStringLiteral("\uFFFD")}},
        {"lead byte before LF", "\xC8\x0A\xC3\xA2", {QStringLiteral("\uFFFD"), QStringLiteral("창")}},
        {"invalid trail byte", "\xC8\x21\xC3\xA2", {QStringLiteral("\uFFFD!창")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesOf(c.bytes), c.lines);
    }
}

TEST_F(TextFileReaderTest, aByteOrderMarkChoosesTheEncodingAndIsNotPartOfTheFirstLine)
{
    struct BomCase
    {
        const char* name;
        QByteArray bytes;
        TextFileReader::Encoding encoding;
        QStringList lines;
    };
    const BomCase cases[] = {
        {"UTF-8",
         "\xEF\xBB\xBF\xEC\xB0\xBD 1:1\r\n\xEB\x98\xA0\na",
         TextFileReader::Encoding::Utf8,
         {QStringLiteral("창 1:1"), QStringLiteral("똠"), QStringLiteral("a")}},
        {"UTF-8 mark later is text",
         "\xEF\xBB\xBF\r\n\xEF\xBB\xBFx",
         TextFileReader::Encoding::Utf8,
         {"", QStringLiteral("\uFEFFx")}},
        {"UTF-8 invalid bytes",
         "\xEF\xBB\xBF"
         "a\xFF\r\nb\xE2\x82",
         TextFileReader::Encoding::Utf8,
         {QStringLiteral("a\uFFFD"), QStringLiteral("b\uFFFD\uFFFD")}},
        {"UTF-16LE",
         bytes("\xFF\xFE\x3D\xCC \0"
               "1\0\r\0\n\0a\0\n\0b\0",
               18),
         TextFileReader::Encoding::Utf16LE,
         {QStringLiteral("창 1"), "a", "b"}},
        {"UTF-16BE",
         bytes("\xFE\xFF\xCC\x3D\0 \0"
               "1\0\r\0a",
               12),
         TextFileReader::Encoding::Utf16BE,
         {QStringLiteral("창 1"), "a"}},
        // U+0A0D is 0D 0A in UTF-16LE: not a line end, because the bytes are not whole CR and LF units.
        {"UTF-16LE unaligned CR LF bytes",
         bytes("\xFF\xFE"
               "a\0\x0D\x0A"
               "b\0",
               8),
         TextFileReader::Encoding::Utf16LE,
         {QStringLiteral("a\u0A0Db")}},
        {"UTF-16LE odd last byte",
         bytes("\xFF\xFE"
               "a\0b",
               5),
         TextFileReader::Encoding::Utf16LE,
         {QStringLiteral("a\uFFFD")}},
        {"UTF-16LE lone surrogate",
         bytes("\xFF\xFE\x00\xD8\r\0x\0\x00\xDCy\0", 12),
         TextFileReader::Encoding::Utf16LE,
         {QStringLiteral("\uFFFD"), QStringLiteral("x\uFFFDy")}},
        {"UTF-16LE surrogate pair",
         bytes("\xFF\xFE\x3D\xD8\x00\xDE", 6),
         TextFileReader::Encoding::Utf16LE,
         {QStringLiteral("\U0001F600")}},
        {"UTF-16LE mark only", "\xFF\xFE", TextFileReader::Encoding::Utf16LE, {}},
        {"too short for a mark", "\xEF", TextFileReader::Encoding::Cp949, {QStringLiteral("\uFFFD")}},
    };
    for (const BomCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextFileReader::Encoding encoding{};
        EXPECT_EQ(linesOf(c.bytes, &encoding), c.lines);
        EXPECT_EQ(encoding, c.encoding);
    }
}

namespace {

QString fromCp949(const QByteArray& bytes)
{
    return QStringDecoder("windows-949").decode(bytes);
}

QByteArray cp949ToUtf8(const QByteArray& bytes)
{
    return fromCp949(bytes).toUtf8();
}

QByteArray toCp949(const QString& text)
{
    return QStringEncoder("windows-949").encode(text);
}

} // namespace

// Without a byte-order mark a file is UTF-8 only when its first 64 KiB are UTF-8 and more of its lines
// begin with a book abbreviation so; English text in code page 949 is often UTF-8 as well.
TEST_F(TextFileReaderTest, judgesAFileWithoutAMarkByTheBooksItsLinesBeginWith)
{
    const QStringList genesisLines = testsupport::kjvAsciiBookLines(QStringLiteral("창"));
    const QStringList hoseaLines = testsupport::kjvAsciiBookLines(QStringLiteral("호"));
    ASSERT_EQ(genesisLines.size(), 1533);
    ASSERT_EQ(hoseaLines.size(), 197);
    const QByteArray genesis = toCp949(genesisLines.join(u'\n') + u'\n');
    const QByteArray hosea = toCp949(hoseaLines.join(QStringLiteral("\r\n")));
    ASSERT_GT(genesis.size(), 64 * 1024);
    ASSERT_LT(hosea.size(), 64 * 1024);
    // The naive rule would take both for UTF-8: "창" is C3 A2 in code page 949, "호" C8 A3.
    for (const QByteArray& english : {genesis, hosea}) {
        ASSERT_EQ(QString::fromUtf8(english).toUtf8(), english);
    }
    const QString genesisFirst = genesisLines.first();
    const QString genesisLast = genesisLines.last();
    const QString hoseaFirst = hoseaLines.first();
    const QString korean = QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라\r\n창 1:2 땅이 혼돈하고\r\n");
    const QByteArray koreanUtf8 = korean.toUtf8();
    const QByteArray koreanCp949 = toCp949(korean);
    // Korean UTF-8 lines past the first 64 KiB, the first 64 KiB ending inside the 창 of a line.
    const QByteArray verse = QStringLiteral("창 1:1 태초에\n").toUtf8();
    const QByteArray prefix = QByteArray(64 * 1024 % verse.size() - 2, 'x') + "\n";
    const QByteArray cut = prefix + verse.repeated(64 * 1024 / verse.size() + 2);
    ASSERT_EQ(cut.at(64 * 1024 - 1), '\xEC') << "the first of the three bytes of 창";
    const QString book = QStringLiteral("창");
    const QString bookIn949ReadAsUtf8 = QStringLiteral("\u00E2"); // C3 A2
    struct KindCase
    {
        const char* name;
        QByteArray bytes;
        TextFileReader::Encoding encoding;
        bool imp;
        QString firstLine;
        QString lastLine;
    };
    using E = TextFileReader::Encoding;
    const KindCase cases[] = {
        {"English Genesis, code page 949", genesis, E::Cp949, false, genesisFirst, genesisLast},
        {"English Genesis, UTF-8", cp949ToUtf8(genesis), E::Utf8, false, genesisFirst, genesisLast},
        {"English Hosea, code page 949", hosea, E::Cp949, false, hoseaFirst, hoseaLines.last()},
        {"English Hosea, UTF-8", cp949ToUtf8(hosea), E::Utf8, false, hoseaFirst, hoseaLines.last()},
        {"Korean, code page 949", koreanCp949, E::Cp949, false,
         QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라"), QStringLiteral("창 1:2 땅이 혼돈하고")},
        {"Korean, UTF-8", koreanUtf8, E::Utf8, false, QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라"),
         QStringLiteral("창 1:2 땅이 혼돈하고")},
        {"no line begins with a book either way: a tie",
         "caf\xC3\xA9 1:1",
         E::Cp949,
         false,
         fromCp949("caf\xC3\xA9 1:1"),
         {}},
        {"as many book lines each way: a tie",
         "\xC3\xA2 1:1 a\n\xEC\xB0\xBD 1:2 b",
         E::Cp949,
         false,
         book + QStringLiteral(" 1:1 a"),
         {}},
        {"one book line more in UTF-8", "\xC3\xA2 1:1 a\n\xEC\xB0\xBD 1:2 b\n  \xEC\xB0\xBD 1:3 c", E::Utf8, false,
         bookIn949ReadAsUtf8 + QStringLiteral(" 1:1 a"), QStringLiteral("  창 1:3 c")},
        {"a byte that is not UTF-8 in the first 64 KiB", koreanUtf8 + "\xFF", E::Cp949, false, {}, {}},
        {"a character cut by the end of the first 64 KiB, then not UTF-8", cut + "\xFF", E::Utf8, false,
         QString::fromLatin1(prefix.chopped(1)), QStringLiteral("\uFFFD")},
        {"an IMP file is UTF-8", "\n  \r\n$$$Genesis 1:6\n\xC2\xB6 And God said", E::Utf8, true, QStringLiteral(""),
         QStringLiteral("¶ And God said")},
        {"an IMP file with a mark",
         QByteArray("\xFF\xFE$\0$\0$\0G\0", 10),
         E::Utf16LE,
         true,
         QStringLiteral("$$$G"),
         {}},
        {"key lines after a verse line", "\xC3\xA2 1:1 a\n$$$Gen 1:1", E::Cp949, false, book + QStringLiteral(" 1:1 a"),
         QStringLiteral("$$$Gen 1:1")},
        {"a key line starts its line", "  $$$Gen 1:1\n\xC3\xA2 1:1", E::Cp949, false, QStringLiteral("  $$$Gen 1:1"),
         book + QStringLiteral(" 1:1")},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextFileReader reader(write(c.bytes));
        ASSERT_TRUE(reader.open());
        EXPECT_EQ(reader.encoding(), c.encoding);
        EXPECT_EQ(reader.isImp(), c.imp);
        QString line;
        QString last;
        ASSERT_EQ(reader.readLine(line), TextFileReader::ReadResult::Line);
        if (!c.firstLine.isNull()) {
            EXPECT_EQ(line, c.firstLine);
        }
        while (reader.readLine(last) == TextFileReader::ReadResult::Line) {
            line = last;
        }
        if (!c.lastLine.isNull()) {
            EXPECT_EQ(line, c.lastLine);
        }
    }
}

// Only regular files are read: a pipe would hold open() for ever and a device never ends.
TEST_F(TextFileReaderTest, describesAFileThatCannotBeOpened)
{
    const QString notRegular = QStringLiteral("텍스트파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다.");
    const QString pipe = m_dir.filePath(QStringLiteral("파이프"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(pipe, m_dir.filePath(QStringLiteral("파이프로.txt"))));
    struct OpenCase
    {
        const char* name;
        QString path;
        const char* description;
    };
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("폴더")));
    const OpenCase cases[] = {
        {"missing file", m_dir.filePath(QStringLiteral("없음.txt")), "파일을 찾을 수 없습니다."},
        {"missing folder", m_dir.filePath(QStringLiteral("없는폴더/없음.txt")), "경로를 찾을 수 없습니다."},
        {"folder", m_dir.filePath(QStringLiteral("폴더")), nullptr},
        {"pipe without a writer", pipe, nullptr},
        {"link to a pipe", m_dir.filePath(QStringLiteral("파이프로.txt")), nullptr},
        {"endless device", QStringLiteral("/dev/zero"), nullptr},
        {"random device", QStringLiteral("/dev/urandom"), nullptr},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextFileReader reader(c.path);
        EXPECT_FALSE(reader.open());
        EXPECT_EQ(reader.failure().path, c.path);
        EXPECT_EQ(reader.failure().description, c.description ? QString::fromUtf8(c.description) : notRegular);
    }
    // A link to a regular file is read like the file.
    const QString file = write("Gen 1:1 a\r\n");
    ASSERT_TRUE(QFile::link(file, m_dir.filePath(QStringLiteral("링크.txt"))));
    TextFileReader linked(m_dir.filePath(QStringLiteral("링크.txt")));
    ASSERT_TRUE(linked.open());
    QString line;
    EXPECT_EQ(linked.readLine(line), TextFileReader::ReadResult::Line);
    EXPECT_EQ(line, QStringLiteral("Gen 1:1 a"));
}
