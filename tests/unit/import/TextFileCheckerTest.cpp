#include "import/TextFileChecker.h"

#include "ReferenceTable.h"
#include "import/ErrorLog.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <stdexcept>

using importer::AcceptedLineWriter;
using importer::CheckResult;
using importer::checkTextFiles;
using importer::ErrorLog;
using importer::ReferenceExists;

namespace {

const QSet<QString>& references()
{
    static const QSet<QString> table = testsupport::referencesOfVersificationTable(
        testsupport::sharedDataFolder() + QStringLiteral("/versification-ko.tsv"));
    return table;
}

const ReferenceExists kInReferenceVersion = [](const QString& reference) { return references().contains(reference); };

const QString kMissingColon = QStringLiteral("줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!");

// A check run as the import runs it: delete the old log, check, write the log when there are errors.
class CheckRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("manager")));
    }

    QString programFolder() const { return m_dir.filePath(QStringLiteral("manager")); }

    // A text file in code page 949 with CR LF line ends.
    QString textFile(const QString& name, const QStringList& lines)
    {
        QStringEncoder encoder("windows-949");
        const QByteArray bytes = encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        EXPECT_FALSE(encoder.hasError());
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }

    CheckResult run(const QStringList& files, const AcceptedLineWriter& writer = {})
    {
        const ErrorLog log(programFolder());
        EXPECT_FALSE(log.remove().has_value());
        CheckResult result = checkTextFiles(files, kInReferenceVersion, writer, [this] { ++m_hookCalls; });
        if (result.succeeded() && !result.errorList.isEmpty()) {
            EXPECT_FALSE(log.write(result.errorList, kNow, kKorean).has_value());
        }
        return result;
    }

    // The log's lines decoded from code page 949; nothing when there is no log.
    std::optional<QStringList> logLines() const
    {
        QFile file(ErrorLog(programFolder()).path());
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends with CR LF";
        QStringDecoder decoder("windows-949");
        QString text = decoder.decode(bytes);
        EXPECT_FALSE(decoder.hasError());
        text.chop(2);
        return text.split(QStringLiteral("\r\n"));
    }

    static QStringList withHeader(const QStringList& entries)
    {
        return QStringList{QStringLiteral("오후 3시 4분 5초 UTC 2026년 12월 6일 일요일 <편집오류 로그파일>"),
                           QString()} +
               entries;
    }

    const QDateTime kNow{QDate(2026, 12, 6), QTime(15, 4, 5), QTimeZone::utc()};
    const QLocale kKorean{QLocale::Korean, QLocale::SouthKorea};
    QTemporaryDir m_dir;
    int m_hookCalls = 0;
};

} // namespace

TEST_F(CheckRunTest, aCleanRunHandsEveryLineToTheWriterAndWritesNoLog)
{
    const QString file =
        textFile(QStringLiteral("창.txt"), {QStringLiteral("창 1:1 태초에"), QString(),
                                            QStringLiteral("창 01:002 땅이"), QStringLiteral("창 1:3")});
    QStringList written;
    const CheckResult result =
        run({file}, [&written](const QString& reference, const QString& text) { written << reference << text; });
    EXPECT_TRUE(result.succeeded());
    EXPECT_TRUE(result.errorList.isEmpty());
    EXPECT_EQ(written, (QStringList{QStringLiteral("창 1:1"), QStringLiteral("태초에"), QStringLiteral("창 1:2"),
                                    QStringLiteral("땅이"), QStringLiteral("창 1:3"), QString()}));
    EXPECT_FALSE(logLines().has_value());
    EXPECT_FALSE(ErrorLog(programFolder()).exists());
}

TEST_F(CheckRunTest, oneBadFileGetsOneHeadingAndItsEntries)
{
    const QString file = textFile(QStringLiteral("창세기.txt"), {
                                                                    QString(),                           // 1 blank
                                                                    QStringLiteral("창 1 1 태초에"),     // 2
                                                                    QStringLiteral("창 1:1 태초에"),     // 3
                                                                    QStringLiteral("   "),               // 4 spaces
                                                                    QStringLiteral("창세기 1:2 땅이"),   // 5
                                                                    QStringLiteral("1:1 빛이"),          // 6
                                                                    QStringLiteral("창 01:051 없는 절"), // 7
                                                                    QStringLiteral("\t"),                // 8 tab
                                                                    QStringLiteral("창 1: 1 x"),         // 9
                                                                    QStringLiteral("창 1:1000 x"),       // 10
                                                                    QStringLiteral("창1:1 x"),           // 11
                                                                });
    const CheckResult result = run({file});
    ASSERT_TRUE(result.succeeded());
    const QStringList expected = {
        QStringLiteral(" "),
        file + QStringLiteral("파일에서..."),
        QStringLiteral("2줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!"),
        QStringLiteral("5줄▶ ('창세기')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
        QStringLiteral("6줄▶ ('')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
        QStringLiteral("7줄▶ ('창 1:51') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
        QStringLiteral("8줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!"),
        QStringLiteral("9줄▶ ':'문 자 다음에 숫자로된 '절'이 나와야 합니다!"),
        QStringLiteral("10줄▶ 절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!"),
        QStringLiteral("11줄▶ '장'을 찾을 수 없습니다! 편집상태 확인!"),
    };
    EXPECT_EQ(result.errorList, expected);
    EXPECT_EQ(logLines(), withHeader(expected));
}

TEST_F(CheckRunTest, badFilesGetAHeadingEachAndLineNumbersRestart)
{
    const QString bad1 = textFile(QStringLiteral("가.txt"), {QStringLiteral("창 1:1 a"), QStringLiteral("x")});
    const QString good = textFile(QStringLiteral("나.txt"), {QStringLiteral("창 1:2 b")});
    const QString bad2 = textFile(QStringLiteral("다.txt"), {QStringLiteral("y"), QStringLiteral("z")});
    const CheckResult result = run({bad1, good, bad2, bad1});
    ASSERT_TRUE(result.succeeded());
    const QStringList expected = {
        QStringLiteral(" "),
        bad1 + QStringLiteral("파일에서..."),
        QStringLiteral("2") + kMissingColon,
        QStringLiteral(" "),
        bad2 + QStringLiteral("파일에서..."),
        QStringLiteral("1") + kMissingColon,
        QStringLiteral("2") + kMissingColon,
        // The same file listed twice is read and reported twice.
        QStringLiteral(" "),
        bad1 + QStringLiteral("파일에서..."),
        QStringLiteral("2") + kMissingColon,
    };
    EXPECT_EQ(logLines(), withHeader(expected));
}

TEST_F(CheckRunTest, aCleanRunLeavesNoLogFromAnEarlierRun)
{
    const QString bad = textFile(QStringLiteral("나쁨.txt"), {QStringLiteral("x")});
    const QString good = textFile(QStringLiteral("좋음.txt"), {QStringLiteral("계 22:21 아멘")});
    (void)run({bad});
    EXPECT_TRUE(ErrorLog(programFolder()).exists());
    const CheckResult result = run({good});
    EXPECT_TRUE(result.succeeded());
    EXPECT_FALSE(ErrorLog(programFolder()).exists());
}

TEST_F(CheckRunTest, theHookFollowsBlankMissingColonAndAcceptedLinesOnly)
{
    const QString file = textFile(QStringLiteral("가.txt"),
                                  {QString(), QStringLiteral("x"), QStringLiteral("창 1:1 a"), QStringLiteral("창 1:a"),
                                   QStringLiteral("창 1:1000"), QStringLiteral("창1:1 a"), QStringLiteral("Gen 1:1 a"),
                                   QStringLiteral("창 99:1 a"), QStringLiteral("  ")});
    const CheckResult result = run({file});
    EXPECT_EQ(result.errorList.size(), 2 + 6);
    EXPECT_EQ(m_hookCalls, 4);
}

TEST_F(CheckRunTest, aFileThatCannotBeOpenedStopsTheRunWithoutALog)
{
    const QString good = textFile(QStringLiteral("가.txt"), {QStringLiteral("창 1:1 a"), QStringLiteral("x")});
    const QString missing = m_dir.filePath(QStringLiteral("없음.txt"));
    const QString after = textFile(QStringLiteral("다.txt"), {QStringLiteral("창 1:2 b")});
    QStringList written;
    const CheckResult result =
        run({good, missing, after}, [&written](const QString& reference, const QString&) { written << reference; });
    ASSERT_FALSE(result.succeeded());
    EXPECT_EQ(result.failure->path, missing);
    EXPECT_EQ(result.failure->description, QStringLiteral("파일을 찾을 수 없습니다."));
    EXPECT_TRUE(result.errorList.isEmpty());
    // What was written before the failure stays written; nothing after it is read.
    EXPECT_EQ(written, QStringList{QStringLiteral("창 1:1")});
    EXPECT_FALSE(ErrorLog(programFolder()).exists());
}

TEST_F(CheckRunTest, anExceptionOfTheWriterPassesThroughAndTheFileIsReleased)
{
    const QString file = textFile(QStringLiteral("가.txt"), {QStringLiteral("창 1:1 a"), QStringLiteral("창 1:2 b")});
    int calls = 0;
    const AcceptedLineWriter throwing = [&calls](const QString&, const QString&) {
        ++calls;
        throw std::runtime_error("no current record");
    };
    EXPECT_THROW((void)checkTextFiles({file}, kInReferenceVersion, throwing, {}), std::runtime_error);
    EXPECT_EQ(calls, 1);
    // No descriptor of this process still refers to the file.
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists()) {
        GTEST_SKIP() << "open files cannot be listed here";
    }
    const QString canonical = QFileInfo(file).canonicalFilePath();
    const auto openDescriptors = [&] {
        int count = 0;
        for (const QFileInfo& descriptor :
             descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            count += descriptor.symLinkTarget() == canonical ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(openDescriptors(), 0);
    // The listing does see an open file.
    QFile held(file);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(openDescriptors(), 1);
}

TEST_F(CheckRunTest, readsTheSixtySixBookFiles)
{
    // The shared book files have LF line ends: every verse is its own line.
    QStringList files;
    int verses = 0;
    const QDir books(testsupport::sharedDataFolder() + QStringLiteral("/books"));
    for (const QString& name : books.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile in(books.filePath(name));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        verses += static_cast<int>(in.readAll().count('\n'));
        files << QDir::toNativeSeparators(books.filePath(name));
    }
    ASSERT_EQ(files.size(), 66);
    int written = 0;
    const CheckResult result = run(files, [&written](const QString&, const QString&) { ++written; });
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(verses, 31102);
    EXPECT_EQ(written, 31100);
    const QString samuel = QDir::toNativeSeparators(books.filePath(QStringLiteral("09-삼상.txt")));
    const QString corinthians = QDir::toNativeSeparators(books.filePath(QStringLiteral("47-고후.txt")));
    const QStringList expected = {
        QStringLiteral(" "),
        samuel + QStringLiteral("파일에서..."),
        QStringLiteral("797줄▶ ('삼상 30:31') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
        QStringLiteral(" "),
        corinthians + QStringLiteral("파일에서..."),
        QStringLiteral("257줄▶ ('고후 13:14') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
    };
    EXPECT_EQ(logLines(), withHeader(expected));
}
