#include "import/TextFileChecker.h"

#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "import/ParseImpKey.h"
#include "import/ParseImportLine.h"
#include "import/TextFileReader.h"
#include "platform/CodePage949.h"
#include "support/InstallTreeTest.h"

#include <QFile>
#include <QSet>
#include <QTimeZone>
#include <sys/stat.h>

using importer::CheckResult;
using importer::LineOutcome;
using importer::TextFileReader;
using E = TextFileReader::Encoding;
using Written = QList<std::pair<QString, QString>>;
using namespace Qt::StringLiterals;

namespace {

// Whether the reference version made from the data folder's versification table holds this reference.
bool inReferenceVersion(const QString& reference)
{
    static const QSet<QString> table = [] {
        QSet<QString> references;
        QFile file(testsupport::dataFolder() + u"/versification-ko.tsv"_s);
        for (bool open = file.open(QIODevice::ReadOnly | QIODevice::Text); open && !file.atEnd();) {
            const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
            for (int verse = 1; columns.size() == 4 && verse <= columns[3].toInt(); ++verse) {
                references.insert(columns[1] + u' ' + columns[2] + u':' + QString::number(verse));
            }
        }
        return references;
    }();
    return table.contains(reference);
}

const QString kMissingColon = u"':'문자가 없어 '구절명'을 얻을 수 없음!"_s;
const QString kVerseNotNumeric = u"':'문 자 다음에 숫자로된 '절'이 나와야 합니다!"_s;

// A check run as the import runs it: delete the old log, check, write the log when there are errors.
class CheckRunTest : public testsupport::InstallTreeTest
{
protected:
    // A text file beside the install folder of these lines, given separated by LF.
    QString text(const QString& name, const QString& lines) { return textFile(name, lines.split(u'\n')); }

    // Entries go to the log and m_entries until entry failAt fails; accepted lines go to m_written.
    CheckResult run(const QStringList& files, qsizetype failAt = -1)
    {
        m_entries.clear();
        m_written.clear();
        EXPECT_FALSE(m_log.remove().has_value());
        const QDateTime now(QDate(2026, 12, 6), QTime(15, 4, 5), QTimeZone::utc());
        importer::ErrorLogWriter log(m_log, QLocale(QLocale::Korean), [now] { return now; });
        const CheckResult result = importer::checkTextFiles(
            files, inReferenceVersion,
            [this](const QString& reference, const QString& text) {
                m_written.append({reference, text});
            },
            [&](const QString& entry) -> std::optional<platform::FileFailure> {
                if (m_entries.size() == failAt) {
                    return platform::FileFailure{m_log.path(), u"디스크 공간이 부족합니다."_s};
                }
                m_entries << entry;
                EXPECT_FALSE(m_log.exists()) << "the log appears only when the run ends well";
                return log.append(entry);
            },
            &m_control);
        if (result.succeeded()) {
            EXPECT_FALSE(log.commit().has_value());
        }
        EXPECT_EQ(result.errorEntries, m_entries.size());
        return result;
    }

    // The log of these files' entries, each file's after its heading, every line ended by CR LF.
    static QString log(const QList<std::pair<QString, QStringList>>& files)
    {
        QStringList lines = {u"오후 3시 4분 5초 UTC 2026년 12월 6일 일요일 <편집오류 로그파일>"_s, {}};
        for (const auto& [file, entries] : files) {
            lines << u" "_s << file + u"파일에서..."_s << entries;
        }
        return lines.join(u"\r\n"_s) + u"\r\n"_s;
    }

    importer::ErrorLog m_log{programFolder(), true};
    QStringList m_entries;
    Written m_written;
    platform::RunControl m_control;
};

} // namespace

// A line, or after "$$$" an IMP key (Blank: a heading), through its rules: its outcome and reference|text|book.
TEST(parseImportLine, linesAndKeysFollowTheRulesInOrder)
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
        {u"창 1:3-5 빛이", VerseNotNumeric, u"||"}, // a range, whose end is no text of verse 3
        {u"창 1:3,4 빛이", VerseNotNumeric, u"||"},
        {u"창 1:1234 태초에", VerseTooLong, u"||"},
        {u"창1:1 태초에", ChapterNotFound, u"|태초에|"},
        {u"창세기 1:1 태초에", UnknownBook, u"|태초에|창세기"},
        {u"1:1 태초에", UnknownBook, u"|태초에|"},
        {u"1 창 1:1 태초에", UnknownBook, u"|태초에| 창"},
        {u"\t창 1:1 x", UnknownBook, u"|x|\t창"},
        {u"\u110E\u1161\u11BC 1:1 x", UnknownBook, u"|x|\u110E\u1161\u11BC"}, // decomposed jamo of 창
        {u"창 1:123 태초에", UnknownReference, u"창 1:123|태초에|창"},
        {u"창 :000 x", UnknownReference, u"창 0:0|x|창"},
        {u"창 000123456789012345678901234567890:1 x", UnknownReference, u"창 123456789012345678901234567890:1|x|창"},
        {u"$$$[ Module Heading ]", Blank, u"||"},
        {u"$$$ I Samuel 1:2 ", Accepted, u"삼상 1:2||삼상"},
        {u"$$$창 1:3", Accepted, u"창 1:3||창"},
        {u"$$$", MissingColon, u"||"},
        {u"$$$Genesis 1:5-6", VerseNotNumeric, u"||"},
        {u"$$$Tobit 1:1", UnknownBook, u"||Tobit"},
        {u"$$$gen 1:1", UnknownBook, u"||gen"},
    };
    for (const auto& [text, outcome, parts] : cases) {
        const QString line = QString::fromUtf16(text);
        SCOPED_TRACE(line.toStdString());
        const bool key = line.startsWith(u"$$$");
        const auto [heading, parsed] =
            key ? importer::parseImpKey(line.sliced(3), inReferenceVersion)
                : importer::ParsedImpKey{false, importer::parseImportLine(line, inReferenceVersion)};
        EXPECT_EQ(heading, key && outcome == Blank);
        EXPECT_EQ(int(parsed.outcome), int(outcome));
        EXPECT_EQ(parsed.reference + u'|' + parsed.text + u'|' + parsed.bookText, QString::fromUtf16(parts));
    }
}

// Every bad line is logged at its number under its file's heading; an IMP file's headings are skipped.
TEST_F(CheckRunTest, everyAcceptedLineGoesToTheWriterAndEveryBadOneToTheLogUnderItsFile)
{
    // Line 1 is blank, line 4 spaces only; the book of line 10 has no code page 949 code.
    const QString book =
        text(u"창세기.txt"_s, u"\n창 1 1 태초에\n창 1:1 태초에\n   \n창세기 1:2 땅이\n창 01:051 없는 절\n"
                              "창 1: 1 x\n창 1:1000 x\n창1:1 x\n가\U0001F600é 1:1"_s);
    const QString link = beside(u"링크.txt"_s);
    const QString linked = text(u"나.txt"_s, u"창 1:2 b"_s);
    ASSERT_TRUE(testsupport::kSymbolicLinks ? QFile::link(linked, link) : QFile::copy(linked, link));
    const QString other = text(u"다.txt"_s, u"y"_s);
    const QString imp =
        writeFile(u"kjv.imp"_s, u"$$$[ Module Heading ]\n\n$$$Genesis 0:0\nThe First Book\n$$$John 3:16\n"
                                "For God  \n\n  so loved…  \n$$$Psalms 3:0\nA Psalm\n$$$Genesis 1:5-6\n"
                                "$$$\nno key\n$$$Tobit 1:1\n$$$John 3:17\n"_s.toUtf8());
    const CheckResult result = run({book, link, other, imp, other});
    ASSERT_TRUE(result.succeeded());
    const auto entry = [](int line, const QString& text) { return QString::number(line) + u"줄▶ "_s + text; };
    const QString unknownBook = u"')약자명을 가진 성경책은 없습니다! 편집상태 확인!"_s;
    EXPECT_EQ(
        platform::CodePage949().decode(testsupport::bytes(m_log.path())),
        log({{book,
              {entry(2, kMissingColon), entry(5, u"('창세기"_s + unknownBook),
               entry(6, u"('창 1:51') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"_s), entry(7, kVerseNotNumeric),
               entry(8, u"절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!"_s),
               entry(9, u"'장'을 찾을 수 없습니다! 편집상태 확인!"_s), entry(10, u"('가?\?"_s + unknownBook)}},
             {other, {entry(1, kMissingColon)}},
             {imp, {entry(11, kVerseNotNumeric), entry(12, kMissingColon), entry(14, u"('Tobit"_s + unknownBook)}},
             {other, {entry(1, kMissingColon)}}}));
    EXPECT_EQ(m_written, (Written{{u"창 1:1"_s, u"태초에"_s},
                                  {u"창 1:2"_s, u"b"_s},
                                  {u"요 3:16"_s, u"For God so loved…"_s},
                                  {u"요 3:17"_s, {}}}));
    // The findings are the entries but the headings; the control has followed every byte.
    EXPECT_EQ(result.findings.size(), 12);
    EXPECT_EQ(std::tuple(result.findings[1].file, result.findings[1].line, result.findings[1].reason),
              std::tuple(book, qint64(5), u"('창세기"_s + unknownBook));
    EXPECT_TRUE(m_control.total() > 0 && m_control.done() == m_control.total());
    // Cancelled, the check stops before its first line.
    m_control.cancel();
    const CheckResult cancelled = run({book});
    EXPECT_TRUE(cancelled.cancelled && !cancelled.succeeded() && cancelled.findings.isEmpty());
}

// A file that cannot be opened, or a log that cannot be written, stops the run where it happens.
TEST_F(CheckRunTest, aFailureStopsTheRunWithoutALog)
{
#ifdef Q_OS_WIN
    const QString pipe = installFolder(); // no named pipe lies among the files: a folder
#else
    const QString pipe = beside(u"파이프"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
#endif
    const QString first = text(u"가.txt"_s, u"창 1:1 a\nx"_s);
    const QString last = text(u"다.txt"_s, u"창 1:2 b"_s);
    // The file, what stops the run, and the entry the log fails at (at the heading of the file) or -1.
    const std::tuple<QString, QString, qsizetype> cases[] = {
        {beside(u"없음.txt"_s), u"파일을 찾을 수 없습니다."_s, -1},
        {beside(u"없는폴더/없음.txt"_s), u"경로를 찾을 수 없습니다."_s, -1},
        {pipe, u"텍스트 파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다."_s, -1},
        {text(u"나.txt"_s, u"y\n창 1:3 c"_s), u"디스크 공간이 부족합니다."_s, 3},
    };
    for (const auto& [file, description, failAt] : cases) {
        const CheckResult result = run({first, file, last}, failAt);
        ASSERT_FALSE(result.succeeded());
        EXPECT_EQ(std::pair(result.failure->path, result.failure->description),
                  std::pair(failAt < 0 ? file : m_log.path(), description));
        EXPECT_EQ(m_entries.size(), 3) << "the first file's heading and entry went to the log as they were found";
        EXPECT_EQ(m_written, (Written{{u"창 1:1"_s, u"a"_s}})) << "nothing after the failure is read";
        EXPECT_EQ(programEntries(), QStringList{});
    }
}

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
        EXPECT_EQ(reader.format() == importer::SourceFormat::Imp, c.imp);
        QStringList lines;
        TextFileReader::ReadResult result;
        for (QString line; (result = reader.readLine(line)) == TextFileReader::ReadResult::Line;) {
            lines.append(line);
        }
        EXPECT_EQ(result, TextFileReader::ReadResult::End);
        EXPECT_EQ(lines, c.lines);
    }
}
