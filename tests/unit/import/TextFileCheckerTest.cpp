#include "import/TextFileChecker.h"

#include "ReferenceTable.h"
#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "support/KjvText.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

using importer::AcceptedLineWriter;
using importer::CheckResult;
using importer::ErrorLog;

namespace {

bool inReferenceVersion(const QString& reference)
{
    static const QSet<QString> table = testsupport::referencesOfVersificationTable(
        testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
    return table.contains(reference);
}

const QString kMissingColon = QStringLiteral("줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!");

// A check run as the import runs it: delete the old log, check, write the log when there are errors.
class CheckRunTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // A text file in code page 949 of these lines, given separated by LF, each ended by CR LF.
    QString textFile(const QString& name, QString lines)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringEncoder("windows-949")
                       .encode(lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        return file.fileName();
    }

    QString rawFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }

    // The entries go to the log as they are found, and to m_entries.
    CheckResult run(const QStringList& files, const AcceptedLineWriter& writer = {})
    {
        EXPECT_FALSE(m_log.remove().has_value());
        m_entries.clear();
        const QDateTime now(QDate(2026, 12, 6), QTime(15, 4, 5), QTimeZone::utc());
        importer::ErrorLogWriter log(m_log, QLocale(QLocale::Korean), [now] { return now; });
        CheckResult result = importer::checkTextFiles(
            files, inReferenceVersion, writer,
            [&](const QString& entry) {
                m_entries << entry;
                return log.append(entry);
            },
            [this] { ++m_hookCalls; });
        if (result.succeeded()) {
            EXPECT_FALSE(log.commit().has_value());
        }
        EXPECT_EQ(result.errorEntries, m_entries.size());
        return result;
    }

    // The log's lines decoded from code page 949, after checking that every line ends with CR LF.
    QStringList logLines() const
    {
        QFile file(m_log.path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
        return QString(QStringDecoder("windows-949").decode(bytes.chopped(2))).split(QStringLiteral("\r\n"));
    }

    // The log as its header and the entries of each file in turn: its heading, then its entries.
    static QStringList log(const QList<std::pair<QString, QStringList>>& files)
    {
        QStringList lines = {QStringLiteral("오후 3시 4분 5초 UTC 2026년 12월 6일 일요일 <편집오류 로그파일>"), {}};
        for (const auto& [file, entries] : files) {
            lines << QStringLiteral(" ") << file + QStringLiteral("파일에서...") << entries;
        }
        return lines;
    }

    QTemporaryDir m_dir;
    ErrorLog m_log{m_dir.path()};
    QStringList m_entries;
    int m_hookCalls = 0;
};

} // namespace

TEST_F(CheckRunTest, aCleanRunHandsEveryLineToTheWriterAndLeavesNoLogFromAnEarlierRun)
{
    (void)run({textFile(QStringLiteral("나쁨.txt"), QStringLiteral("x"))});
    ASSERT_TRUE(m_log.exists());
    QStringList written;
    const CheckResult result =
        run({textFile(QStringLiteral("창.txt"), QStringLiteral("창 1:1 태초에\n\n창 01:002 땅이\n창 1:3"))},
            [&](const QString& reference, const QString& text) { written << reference << text; });
    EXPECT_TRUE(result.succeeded());
    EXPECT_TRUE(m_entries.isEmpty());
    // Canonical references; a line that ends with its verse digits is taken with an empty text.
    EXPECT_EQ(written, (QStringList{QStringLiteral("창 1:1"), QStringLiteral("태초에"), QStringLiteral("창 1:2"),
                                    QStringLiteral("땅이"), QStringLiteral("창 1:3"), QString()}));
    EXPECT_FALSE(m_log.exists());
}

TEST_F(CheckRunTest, everyBadFileGetsAHeadingEachTimeItIsListedAndLineNumbersRestart)
{
    // Line 1 is blank, line 4 spaces only, line 8 a tab.
    const QString book = textFile(QStringLiteral("창세기.txt"),
                                  QStringLiteral("\n창 1 1 태초에\n창 1:1 태초에\n   \n창세기 1:2 땅이\n1:1 빛이\n"
                                                 "창 01:051 없는 절\n\t\n창 1: 1 x\n창 1:1000 x\n창1:1 x"));
    const QString good = textFile(QStringLiteral("나.txt"), QStringLiteral("창 1:2 b"));
    const QString other = textFile(QStringLiteral("다.txt"), QStringLiteral("y"));
    const CheckResult result = run({book, good, other, other});
    ASSERT_TRUE(result.succeeded());
    const QStringList expected = log({
        {book,
         {QStringLiteral("2") + kMissingColon,
          QStringLiteral("5줄▶ ('창세기')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
          QStringLiteral("6줄▶ ('')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
          QStringLiteral("7줄▶ ('창 1:51') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
          QStringLiteral("8") + kMissingColon, QStringLiteral("9줄▶ ':'문 자 다음에 숫자로된 '절'이 나와야 합니다!"),
          QStringLiteral("10줄▶ 절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!"),
          QStringLiteral("11줄▶ '장'을 찾을 수 없습니다! 편집상태 확인!")}},
        {other, {QStringLiteral("1") + kMissingColon}},
        {other, {QStringLiteral("1") + kMissingColon}},
    });
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(m_entries, expected.mid(2));
    EXPECT_EQ(result.errorEntries, expected.size() - 2);
    // Events are let through after blank, MissingColon and accepted lines only: lines 1 to 4 and 8 of the
    // book, 나's line and 다's line twice.
    EXPECT_EQ(m_hookCalls, 8);
}

TEST_F(CheckRunTest, aFileThatCannotBeOpenedStopsTheRunWithoutALog)
{
    const QString missing = m_dir.filePath(QStringLiteral("없음.txt"));
    QStringList written;
    const CheckResult result = run({textFile(QStringLiteral("가.txt"), QStringLiteral("창 1:1 a\nx")), missing,
                                    textFile(QStringLiteral("다.txt"), QStringLiteral("창 1:2 b"))},
                                   [&written](const QString& reference, const QString&) { written << reference; });
    ASSERT_FALSE(result.succeeded());
    EXPECT_EQ(result.failure->path, missing);
    EXPECT_EQ(result.failure->description, QStringLiteral("파일을 찾을 수 없습니다."));
    EXPECT_EQ(m_entries.size(), 3) << "the first file's heading and entry went to the log as they were found";
    EXPECT_EQ(written, QStringList{QStringLiteral("창 1:1")}) << "nothing after the failure is read";
    EXPECT_FALSE(m_log.exists()) << "a log of a run that stopped is dropped";
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("err.txt*")}, QDir::Files), QStringList{});
}

TEST_F(CheckRunTest, aLogThatCannotBeWrittenStopsTheCheckAtThatEntry)
{
    const QString file = textFile(QStringLiteral("가.txt"), QStringLiteral("x\n창 1:1 a\ny\n창 1:2 b"));
    QStringList received;
    QStringList written;
    const importer::FileFailure full{QStringLiteral("err.txt"), QStringLiteral("디스크 공간이 부족합니다.")};
    const CheckResult result = importer::checkTextFiles(
        {file, file}, inReferenceVersion,
        [&written](const QString& reference, const QString&) { written << reference; },
        [&](const QString& entry) -> std::optional<importer::FileFailure> {
            received << entry;
            if (received.size() == 4) {
                return full;
            }
            return std::nullopt;
        },
        {});
    ASSERT_FALSE(result.succeeded());
    EXPECT_EQ(result.failure->description, full.description);
    EXPECT_EQ(result.errorEntries, 3);
    EXPECT_EQ(received.size(), 4);
    EXPECT_EQ(written, QStringList{QStringLiteral("창 1:1")}) << "no line after the failed entry is read";
}

TEST_F(CheckRunTest, anExceptionOfTheWriterPassesThroughAndTheFileIsReleased)
{
    const QString file = textFile(QStringLiteral("가.txt"), QStringLiteral("창 1:1 a\n창 1:2 b"));
    int calls = 0;
    const AcceptedLineWriter throwing = [&calls](const QString&, const QString&) {
        ++calls;
        throw std::runtime_error("no current record");
    };
    EXPECT_THROW((void)importer::checkTextFiles({file}, inReferenceVersion, throwing, {}, {}), std::runtime_error);
    EXPECT_EQ(calls, 1);
    // No descriptor of this process still refers to the file, though the listing does see an open one.
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists()) {
        GTEST_SKIP() << "open files cannot be listed here";
    }
    const auto openDescriptors = [&] {
        return std::ranges::count_if(
            descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            [&](const QFileInfo& fd) { return fd.symLinkTarget() == QFileInfo(file).canonicalFilePath(); });
    };
    EXPECT_EQ(openDescriptors(), 0);
    QFile held(file);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(openDescriptors(), 1);
}

using Written = QList<std::pair<QString, QString>>;

TEST_F(CheckRunTest, anImpFileIsReadByItsKeysWithItsHeadingsSkippedAndItsFaultsAtTheirKeyLines)
{
    // As mod2imp writes it: UTF-8 with LF line ends. The line numbers stand on the right.
    const QString imp = rawFile(QStringLiteral("kjv.imp"), QStringLiteral("$$$[ Module Heading ]\n"       // 1
                                                                          "\n"                            // 2
                                                                          "$$$[ Testament 1 Heading ]\n"  // 3
                                                                          "$$$Genesis 0:0\n"              // 4
                                                                          "The First Book of Moses\n"     // 5
                                                                          "$$$Genesis 1:0\n"              // 6
                                                                          "$$$Genesis 1:1\n"              // 7
                                                                          "In the beginning   \n"         // 8
                                                                          "$$$Gen 1:2\n"                  // 9
                                                                          "And the earth\n"               // 10
                                                                          "\n"                            // 11
                                                                          "  was without form.  \n"       // 12
                                                                          "$$$창 1:3\n"                   // 13
                                                                          "¶ And God said\n"              // 14
                                                                          "$$$Genesis 1:4\n"              // 15
                                                                          "$$$Genesis 1:5-6\n"            // 16
                                                                          "$$$Genesis 51:1\n"             // 17
                                                                          "$$$Genesis 1:1000\n"           // 18
                                                                          "$$$Tobit 1:1\n"                // 19
                                                                          "$$$I Samuel 30:31\n"           // 20
                                                                          "$$$\n"                         // 21
                                                                          "no key\n"                      // 22
                                                                          "$$$창1:7\n"                    // 23
                                                                          "$$$Psalms 3:0\n"               // 24
                                                                          "A Psalm of David\n"            // 25
                                                                          "$$$1Sam 1:1\n"                 // 26
                                                                          "$$$III John 1:14\n"            // 27
                                                                          "Peace be to thee.\n"           // 28
                                                                          "$$$Revelation of John 22:21\n" // 29
                                                                          "The grace")
                                                               .toUtf8());
    Written written;
    const CheckResult result = run({imp}, [&written](const QString& reference, const QString& text) {
        written.append({reference, text});
    });
    ASSERT_TRUE(result.succeeded());
    const Written expected = {
        {QStringLiteral("창 1:1"), QStringLiteral("In the beginning")},
        {QStringLiteral("창 1:2"), QStringLiteral("And the earth was without form.")},
        {QStringLiteral("창 1:3"), QStringLiteral("¶ And God said")},
        {QStringLiteral("창 1:4"), QString()},
        {QStringLiteral("삼상 1:1"), QString()},
        {QStringLiteral("요삼 1:14"), QStringLiteral("Peace be to thee.")},
        {QStringLiteral("계 22:21"), QStringLiteral("The grace")},
    };
    EXPECT_EQ(written, expected);
    EXPECT_EQ(
        logLines(),
        log({{imp,
              {QStringLiteral("16줄▶ ':'문 자 다음에 숫자로된 '절'이 나와야 합니다!"),
               QStringLiteral("17줄▶ ('창 51:1') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
               QStringLiteral("18줄▶ 절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!"),
               QStringLiteral("19줄▶ ('Tobit')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
               QStringLiteral("20줄▶ ('삼상 30:31') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
               QStringLiteral("21") + kMissingColon,
               QStringLiteral("23줄▶ '장'을 찾을 수 없습니다! 편집상태 확인!")}}}));
}

// Text files in either encoding, with or without a byte-order mark, and IMP files, in one list.
TEST_F(CheckRunTest, aRunReadsTextFilesOfEitherEncodingAndImpFilesInOneList)
{
    // English text: Genesis in code page 949, Hosea in UTF-8, both well-formed UTF-8.
    const QStringList genesisLines = testsupport::kjvAsciiBookLines(QStringLiteral("창"));
    const QStringList hoseaLines = testsupport::kjvAsciiBookLines(QStringLiteral("호"));
    const QString genesis = textFile(QStringLiteral("genesis.txt"), genesisLines.join(u'\n'));
    const QString hosea = rawFile(QStringLiteral("hosea.txt"), hoseaLines.join(u'\n').toUtf8());
    const QString psalm =
        rawFile(QStringLiteral("시편.txt"), QStringLiteral("시 23:1 여호와는 나의 목자시니\n").toUtf8());
    const QString john = textFile(QStringLiteral("요한.txt"), QStringLiteral("요 1:1 태초에 말씀이 계시니라"));
    const QString marked =
        rawFile(QStringLiteral("요일.txt"), "\xEF\xBB\xBF" + QStringLiteral("요일 1:1 태초부터 있는").toUtf8());
    const QString imp = rawFile(QStringLiteral("john.imp"),
                                QStringLiteral("$$$John 3:16\nFor God so loved the world…\n$$$John 3:17\n").toUtf8());

    Written written;
    const CheckResult result =
        run({genesis, hosea, psalm, imp, john, marked}, [&written](const QString& reference, const QString& text) {
            written.append({reference, text});
        });
    ASSERT_TRUE(result.succeeded());
    EXPECT_TRUE(m_entries.isEmpty()) << m_entries.join(u'\n').toStdString();
    Written expected;
    for (const QString& line : genesisLines + hoseaLines) {
        expected.append({line.section(u' ', 0, 1), line.section(u' ', 2)});
    }
    ASSERT_EQ(expected.size(), 1533 + 197);
    expected.append({QStringLiteral("시 23:1"), QStringLiteral("여호와는 나의 목자시니")});
    expected.append({QStringLiteral("요 3:16"), QStringLiteral("For God so loved the world…")});
    expected.append({QStringLiteral("요 3:17"), QString()});
    expected.append({QStringLiteral("요 1:1"), QStringLiteral("태초에 말씀이 계시니라")});
    expected.append({QStringLiteral("요일 1:1"), QStringLiteral("태초부터 있는")});
    EXPECT_EQ(written, expected);
}
