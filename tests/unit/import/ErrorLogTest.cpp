#include "import/ErrorLog.h"

#include "import/ErrorLogWriter.h"
#include "support/MountedFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

    QTemporaryDir m_dir;
    const ErrorLog m_log{m_dir.path()};
};

} // namespace

// A folder named err.txt is no log: it is neither reported as one nor deleted, nor replaced.
TEST_F(ErrorLogTest, aLogThatCannotBeCreatedIsAFailureWithADescription)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"err.txt"_s));
    EXPECT_FALSE(m_log.exists());
    EXPECT_FALSE(m_log.remove().has_value());
    ErrorLogWriter log(m_log);
    const auto failure = log.append(u"x"_s);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, m_log.path());
    EXPECT_EQ(failure->description, u"경로/파일 액세스 오류입니다."_s);
    EXPECT_EQ(log.commit(), failure) << "a failed log stays failed";
    EXPECT_EQ(listing(m_dir.path()), QStringList{u"err.txt"_s});
}

TEST_F(ErrorLogTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    {
        ErrorLogWriter earlier(m_log);
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
    const auto creation = ErrorLogWriter(m_log).append(u"y"_s);
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
    ErrorLogWriter full(log);
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
