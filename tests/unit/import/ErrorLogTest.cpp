#include "import/ErrorLog.h"

#include "import/ErrorLogWriter.h"
#include "platform/ProgramFolders.h"
#include "support/MountedFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using importer::ErrorLog;
using importer::ErrorLogWriter;

namespace {

class ErrorLogTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QStringList folderListing() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    ErrorLogWriter::Clock clock() const
    {
        return [now = kNow] { return now; };
    }

    QByteArray logBytes() const
    {
        QFile file(ErrorLog(m_dir.path()).path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    const QDateTime kNow{QDate(2026, 1, 2), QTime(9, 8, 7), QTimeZone::utc()};
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ErrorLogTest, headerLineUsesTheLongTimeAndDateFormatsOfTheLocale)
{
    EXPECT_EQ(ErrorLog::headerLine(kNow, QLocale(QLocale::Korean, QLocale::SouthKorea)),
              QStringLiteral("오전 9시 8분 7초 UTC 2026년 1월 2일 금요일 <편집오류 로그파일>"));
    EXPECT_EQ(ErrorLog::headerLine(kNow, QLocale::c()),
              QStringLiteral("09:08:07 UTC Friday, 2 January 2026 <편집오류 로그파일>"));
    const QDateTime seoul(QDate(2026, 1, 2), QTime(18, 8, 7), QTimeZone("Asia/Seoul"));
    EXPECT_EQ(ErrorLog::headerLine(seoul, QLocale(QLocale::Korean, QLocale::SouthKorea)),
              QStringLiteral("오후 6시 8분 7초 KST 2026년 1월 2일 금요일 <편집오류 로그파일>"));
}

TEST_F(ErrorLogTest, writesCodePage949WithCarriageReturnLineFeedAndQuestionMarks)
{
    const ErrorLog log(m_dir.path());
    ErrorLogWriter writer(log, QLocale::c(), clock());
    // 가 is B0 A1, 똠 8C 63; an emoji, é and a replacement character have no code in code page 949.
    ASSERT_FALSE(writer.append(QStringLiteral(" ")));
    ASSERT_FALSE(writer.append(QStringLiteral("가\U0001F600é똠\uFFFDx")));
    ASSERT_FALSE(writer.commit());
    const QByteArray expected = "09:08:07 UTC Friday, 2 January 2026 <\xC6\xED\xC1\xFD\xBF\xC0\xB7\xF9 "
                                "\xB7\xCE\xB1\xD7\xC6\xC4\xC0\xCF>\r\n"
                                "\r\n"
                                " \r\n"
                                "\xB0\xA1??\x8C\x63?x\r\n";
    EXPECT_EQ(logBytes().toHex(' '), expected.toHex(' '));
    EXPECT_EQ(writer.entryCount(), 2);
}

// The log is there only when the run that writes it ends well, and then whole: a run without
// errors, or one that stops on a failure, leaves none, nor any scratch file.
TEST_F(ErrorLogTest, theLogAppearsOnlyWhenCommittedWithEntries)
{
    const ErrorLog log(m_dir.path());
    {
        ErrorLogWriter clean(log, QLocale::c(), clock());
        ASSERT_FALSE(clean.commit());
        EXPECT_EQ(folderListing(), QStringList{});
    }
    {
        ErrorLogWriter stopped(log, QLocale::c(), clock());
        ASSERT_FALSE(stopped.append(QStringLiteral("an entry")));
        EXPECT_FALSE(log.exists()) << "not before the run ends";
    }
    EXPECT_EQ(folderListing(), QStringList{});
    ErrorLogWriter finished(log, QLocale::c(), clock());
    ASSERT_FALSE(finished.append(QStringLiteral("c")));
    ASSERT_FALSE(finished.commit());
    EXPECT_TRUE(logBytes().endsWith("\r\n\r\nc\r\n"));
    EXPECT_EQ(folderListing(), QStringList{QStringLiteral("err.txt")});
}

TEST_F(ErrorLogTest, removeDeletesTheLogAndIsQuietWhenThereIsNone)
{
    const ErrorLog log(m_dir.path());
    EXPECT_FALSE(log.exists());
    EXPECT_FALSE(log.remove().has_value());
    ErrorLogWriter writer(log, QLocale::c(), clock());
    ASSERT_FALSE(writer.append(QStringLiteral("x")));
    ASSERT_FALSE(writer.commit());
    EXPECT_TRUE(log.exists());
    EXPECT_FALSE(log.remove().has_value());
    EXPECT_FALSE(log.exists());
    EXPECT_FALSE(QFile::exists(log.path()));
}

TEST_F(ErrorLogTest, aLogThatCannotBeCreatedIsAFailureWithADescription)
{
    const ErrorLog inMissingFolder(m_dir.filePath(QStringLiteral("없음")));
    ErrorLogWriter missing(inMissingFolder, QLocale::c(), clock());
    const auto failure = missing.append(QStringLiteral("x"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, inMissingFolder.path());
    EXPECT_EQ(failure->description, QStringLiteral("경로를 찾을 수 없습니다."));
    EXPECT_EQ(missing.commit(), failure) << "a failed log stays failed";

    // A folder named err.txt: not a log, so it is neither reported as one nor deleted, and the
    // log cannot be put in its place.
    const ErrorLog blocked(m_dir.path());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("err.txt")));
    EXPECT_FALSE(blocked.exists());
    EXPECT_FALSE(blocked.remove().has_value());
    ErrorLogWriter overFolder(blocked, QLocale::c(), clock());
    const auto replaced = overFolder.append(QStringLiteral("x"));
    ASSERT_TRUE(replaced.has_value());
    EXPECT_EQ(replaced->description, QStringLiteral("경로/파일 액세스 오류입니다."));
    EXPECT_EQ(folderListing(), QStringList{QStringLiteral("err.txt")});
}

TEST_F(ErrorLogTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    const ErrorLog log(m_dir.path());
    {
        ErrorLogWriter earlier(log, QLocale::c(), clock());
        ASSERT_FALSE(earlier.append(QStringLiteral("x")));
        ASSERT_FALSE(earlier.commit());
    }
    const testsupport::ReadOnlyFolder readOnly(m_dir.path());
    if (!readOnly.isActive()) {
        GTEST_SKIP() << "no folder can be made read-only here";
    }
    const auto removal = log.remove();
    ASSERT_TRUE(removal.has_value());
    EXPECT_EQ(removal->path, log.path());
    EXPECT_EQ(removal->description, QStringLiteral("읽기 전용 폴더여서 파일을 지울 수 없습니다."));
    ErrorLogWriter writer(log, QLocale::c(), clock());
    const auto creation = writer.append(QStringLiteral("y"));
    ASSERT_TRUE(creation.has_value());
    EXPECT_EQ(creation->description, QStringLiteral("읽기 전용 폴더여서 파일을 만들 수 없습니다."));
}

// A disk that fills while the log is written: the failure says so and no partial log is left.
TEST_F(ErrorLogTest, aFullDiskDropsThePartialLogAndSaysTheDiskIsFull)
{
    const QString folder = m_dir.filePath(QStringLiteral("작은디스크"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const testsupport::SmallDisk disk(folder, 256 * 1024);
    if (!disk.isActive()) {
        GTEST_SKIP() << "no file system can be mounted here";
    }
    const ErrorLog log(folder);
    ErrorLogWriter writer(log, QLocale::c(), clock());
    const QString entry = QStringLiteral("123줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!");
    std::optional<importer::FileFailure> failure;
    for (int i = 0; i < 100000 && !failure; ++i) {
        failure = writer.append(entry);
    }
    if (!failure) {
        failure = writer.commit();
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, log.path());
    EXPECT_EQ(failure->description, QStringLiteral("디스크 공간이 부족합니다."));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}
