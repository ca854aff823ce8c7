#pragma once

#include <QString>

namespace cli {

// byeorisol-data compare A B: the verses whose texts differ, one line each in the order of 번호,
// the changed words marked as git's word diff marks them, then their counts. Exit status 0 when
// the versions hold the same texts, 1 when they differ, 2 when they cannot be compared.
int compareCommand(const QString& pathA, const QString& pathB);

} // namespace cli
