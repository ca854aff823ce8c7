#include "platform/InstanceLock.h"

#include <QUuid>
#include <gtest/gtest.h>

using platform::InstanceLock;

namespace {

QString uniqueKey()
{
    return QStringLiteral("byeorisol-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

TEST(InstanceLock, refusesASecondHolderUntilTheFirstIsGone)
{
    const QString key = uniqueKey();
    auto first = InstanceLock::acquire(key);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(InstanceLock::acquire(key).has_value());

    first.reset();
    auto again = InstanceLock::acquire(key);
    EXPECT_TRUE(again.has_value());
}

TEST(InstanceLock, movedLockStaysHeld)
{
    const QString key = uniqueKey();
    auto first = InstanceLock::acquire(key);
    ASSERT_TRUE(first.has_value());
    InstanceLock moved = std::move(*first);
    first.reset();
    EXPECT_FALSE(InstanceLock::acquire(key).has_value());
}

TEST(InstanceLock, keysDifferPerProgramFolder)
{
    EXPECT_NE(platform::instanceLockKey(QStringLiteral("/opt/a/manager")),
              platform::instanceLockKey(QStringLiteral("/opt/b/manager")));
    EXPECT_EQ(platform::instanceLockKey(QStringLiteral("/opt/a/manager")),
              platform::instanceLockKey(QStringLiteral("/opt/a/manager/")));
}
