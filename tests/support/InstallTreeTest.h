#pragma once

#include "support/DataCommand.h"
#include "support/InstallTree.h"

#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// The seed of a test's random timings and data: BYEORISOL_TEST_SEED, or 0. Tests name it in their failures, so
// that a red run can be replayed.
[[nodiscard]] inline quint32 testSeed()
{
    return static_cast<quint32>(qEnvironmentVariableIntValue("BYEORISOL_TEST_SEED"));
}

// A GoogleTest fixture with an install tree of its own.
class InstallTreeTest : public ::testing::Test, public InstallTree
{
protected:
    using InstallTree::InstallTree;
    void SetUp() override { ASSERT_TRUE(isValid()); }
};

// An install tree with the template and the built reference version, for runs of byeorisol-data.
class DataCommandTest : public InstallTreeTest
{
protected:
    DataCommandTest() : InstallTreeTest({QStringLiteral("null.mdb")}) {}
    void SetUp() override { ASSERT_TRUE(isValid() && copyBuiltReference()); }
    [[nodiscard]] CommandResult run(const QStringList& arguments) const
    {
        return runDataCommand(programFolder(), arguments);
    }
};

} // namespace testsupport
