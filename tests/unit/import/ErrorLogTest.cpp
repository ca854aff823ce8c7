#include "import/ErrorLog.h"

#include "import/RunMessages.h"
#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using importer::ErrorLog;
using importer::RunMessages;

namespace {

class ErrorLogTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

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

TEST_F(ErrorLogTest, liesInTheProgramFolder)
{
    EXPECT_EQ(ErrorLog(QStringLiteral("/a/b")).path(), QStringLiteral("/a/b") + platform::separator() + "err.txt");
}

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
    // 가 is B0 A1, 똠 8C 63; an emoji, é and a replacement character have no code in code page 949.
    ASSERT_FALSE(log.write({QStringLiteral(" "), QStringLiteral("가\U0001F600é똠\uFFFDx")}, kNow, QLocale::c()));
    const QByteArray expected = "09:08:07 UTC Friday, 2 January 2026 <\xC6\xED\xC1\xFD\xBF\xC0\xB7\xF9 "
                                "\xB7\xCE\xB1\xD7\xC6\xC4\xC0\xCF>\r\n"
                                "\r\n"
                                " \r\n"
                                "\xB0\xA1??\x8C\x63?x\r\n";
    EXPECT_EQ(logBytes().toHex(' '), expected.toHex(' '));
}

TEST_F(ErrorLogTest, writingReplacesAnEarlierLog)
{
    const ErrorLog log(m_dir.path());
    ASSERT_FALSE(log.write({QStringLiteral("a long first entry"), QStringLiteral("b")}, kNow, QLocale::c()));
    ASSERT_FALSE(log.write({QStringLiteral("c")}, kNow, QLocale::c()));
    EXPECT_TRUE(logBytes().endsWith("\r\n\r\nc\r\n"));
    EXPECT_FALSE(logBytes().contains("first"));
}

TEST_F(ErrorLogTest, removeDeletesTheLogAndIsQuietWhenThereIsNone)
{
    const ErrorLog log(m_dir.path());
    EXPECT_FALSE(log.exists());
    EXPECT_FALSE(log.remove().has_value());
    ASSERT_FALSE(log.write({QStringLiteral("x")}, kNow, QLocale::c()));
    EXPECT_TRUE(log.exists());
    EXPECT_FALSE(log.remove().has_value());
    EXPECT_FALSE(log.exists());
    EXPECT_FALSE(QFile::exists(log.path()));
}

TEST_F(ErrorLogTest, aLogThatCannotBeCreatedIsAFailureWithADescription)
{
    const ErrorLog inMissingFolder(m_dir.filePath(QStringLiteral("없음")));
    const auto missing = inMissingFolder.write({QStringLiteral("x")}, kNow, QLocale::c());
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->path, inMissingFolder.path());
    EXPECT_EQ(missing->description, QStringLiteral("경로를 찾을 수 없습니다."));

    // A folder named err.txt: not a log, so it is neither reported as one nor deleted, and the
    // log cannot be created over it.
    const ErrorLog blocked(m_dir.path());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("err.txt")));
    EXPECT_FALSE(blocked.exists());
    EXPECT_FALSE(blocked.remove().has_value());
    const auto overFolder = blocked.write({QStringLiteral("x")}, kNow, QLocale::c());
    ASSERT_TRUE(overFolder.has_value());
    EXPECT_EQ(overFolder->description, QStringLiteral("경로/파일 액세스 오류입니다."));
}

TEST(RunMessages, endOfACheckRun)
{
    EXPECT_EQ(RunMessages::testFinishedWithErrors(),
              QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n그러나 일부 텍스트파일에서 편집오류가 발견되어 "
                             "오류목록파일('err.txt')을 열겠습니다.\r\n한번 살펴보시고 오류를 수정하여 주십시오.\r\n"
                             "('err.txt'파일의 참조가 완료되면 삭제하십시오)"));
    EXPECT_EQ(RunMessages::testFinishedWithoutErrors(),
              QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n지금 목록에 있는 텍스트파일은 편집오류가 발견되지 "
                             "않았습니다."));
}
