#include "platform/ProgramFolders.h"

#include "platform/FileVersion.h"

#include <gtest/gtest.h>

TEST(ProgramFolders, installFolderIsALiteralParentStep)
{
    EXPECT_EQ(platform::installFolder(QStringLiteral("/opt/viewer/manager")), QStringLiteral("/opt/viewer/manager/.."));
    EXPECT_EQ(platform::installFolder(QStringLiteral("/opt/성경/관리기")), QStringLiteral("/opt/성경/관리기/.."));
}

TEST(FileVersion, isTheVersionTheBuildSets)
{
    const platform::FileVersion version = platform::fileVersion();
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 0);
    EXPECT_EQ(version.build, 0);
    EXPECT_EQ(version.revision, 0);
}
