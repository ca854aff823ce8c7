#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

TEST(ProgramFolders, installFolderIsALiteralParentStep)
{
    EXPECT_EQ(platform::installFolder(QStringLiteral("/opt/viewer/manager")), QStringLiteral("/opt/viewer/manager/.."));
    EXPECT_EQ(platform::installFolder(QStringLiteral("/opt/성경/관리기")), QStringLiteral("/opt/성경/관리기/.."));
}
