#include "import/ErrorLog.h"

#include "import/ErrorLogWriter.h"
#include "support/MountedFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using importer::ErrorLog;
using importer::ErrorLogWriter;
using namespace Qt::StringLiterals;

namespace {

class ErrorLogTest : public ::testing::Test
{
protected:
    QStringList listing(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    ErrorLogWriter writer(const ErrorLog& log) const
    {
        return ErrorLogWriter(log, QLocale::c(),
                              [] { return QDateTime(QDate(2026, 1, 2), QTime(9, 8, 7), QTimeZone::utc()); });
    }

    QTemporaryDir m_dir;
    const ErrorLog m_log{m_dir.path()};
};

} // namespace

// Code page 949, CR LF, a question mark for a character without a code; nothing on disk before the commit.
TEST_F(ErrorLogTest, theLogIsWrittenWholeOnlyWhenCommittedWithEntries)
{
    ASSERT_FALSE(writer(m_log).commit());
    {
        ErrorLogWriter stopped = writer(m_log);
        ASSERT_FALSE(stopped.append(u"an entry"_s));
    }
    EXPECT_EQ(listing(m_dir.path()), QStringList{});
    ErrorLogWriter log = writer(m_log);
    ASSERT_FALSE(log.append(u" "_s));
    ASSERT_FALSE(log.append(u"가\U0001F600é똠\uFFFDx"_s));
    EXPECT_FALSE(m_log.exists());
    ASSERT_FALSE(log.commit());
    QFile file(m_log.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toHex(' '),
              QByteArray("09:08:07 UTC Friday, 2 January 2026 <\xC6\xED\xC1\xFD\xBF\xC0\xB7\xF9 "
                         "\xB7\xCE\xB1\xD7\xC6\xC4\xC0\xCF>\r\n\r\n \r\n\xB0\xA1??\x8C\x63?x\r\n")
                  .toHex(' '));
    EXPECT_EQ(listing(m_dir.path()), QStringList{u"err.txt"_s});
}

TEST_F(ErrorLogTest, aLogThatCannotBeCreatedIsAFailureWithADescription)
{
    const ErrorLog inMissingFolder(m_dir.filePath(u"없음"_s));
    ErrorLogWriter missing = writer(inMissingFolder);
    const auto failure = missing.append(u"x"_s);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, inMissingFolder.path());
    EXPECT_EQ(failure->description, u"경로를 찾을 수 없습니다."_s);
    EXPECT_EQ(missing.commit(), failure) << "a failed log stays failed";
    // A folder named err.txt is no log: neither reported as one nor deleted, nor replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"err.txt"_s));
    EXPECT_FALSE(m_log.exists());
    EXPECT_FALSE(m_log.remove().has_value());
    const auto replaced = writer(m_log).append(u"x"_s);
    ASSERT_TRUE(replaced.has_value());
    EXPECT_EQ(replaced->description, u"경로/파일 액세스 오류입니다."_s);
    EXPECT_EQ(listing(m_dir.path()), QStringList{u"err.txt"_s});
}

TEST_F(ErrorLogTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    {
        ErrorLogWriter earlier = writer(m_log);
        ASSERT_FALSE(earlier.append(u"x"_s) || earlier.commit());
    }
    const testsupport::ReadOnlyFolder readOnly(m_dir.path());
    if (!readOnly.isActive()) {
        GTEST_SKIP() << "no folder can be made read-only here";
    }
    const auto removal = m_log.remove();
    ASSERT_TRUE(removal.has_value());
    EXPECT_EQ(removal->path, m_log.path());
    EXPECT_EQ(removal->description, u"읽기 전용 폴더여서 파일을 지울 수 없습니다."_s);
    const auto creation = writer(m_log).append(u"y"_s);
    ASSERT_TRUE(creation.has_value());
    EXPECT_EQ(creation->description, u"읽기 전용 폴더여서 파일을 만들 수 없습니다."_s);
}

// A disk that fills while the log is written: the failure says so and no partial log is left.
TEST_F(ErrorLogTest, aFullDiskDropsThePartialLogAndSaysTheDiskIsFull)
{
    const QString folder = m_dir.filePath(u"작은디스크"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const testsupport::SmallDisk disk(folder, 256 * 1024);
    if (!disk.isActive()) {
        GTEST_SKIP() << "no file system can be mounted here";
    }
    const ErrorLog log(folder);
    ErrorLogWriter full = writer(log);
    std::optional<importer::FileFailure> failure;
    for (int i = 0; i < 100000 && !failure; ++i) {
        failure = full.append(u"123줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!"_s);
    }
    failure = failure ? failure : full.commit();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, log.path());
    EXPECT_EQ(failure->description, u"디스크 공간이 부족합니다."_s);
    EXPECT_EQ(listing(folder), QStringList{});
}
