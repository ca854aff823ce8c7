#pragma once

#include "support/InstallTree.h"

#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// A GoogleTest fixture with an install tree of its own.
class InstallTreeTest : public ::testing::Test, public InstallTree
{
protected:
    using InstallTree::InstallTree;
    void SetUp() override { ASSERT_TRUE(isValid()); }
};

} // namespace testsupport
