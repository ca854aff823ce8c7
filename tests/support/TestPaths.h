#pragma once

#include <QString>

namespace testsupport {

// The runnable tree that the build laid out, and the helper programs of the tests.
[[nodiscard]] QString builtProgramFolder();
[[nodiscard]] QString builtInstallFolder();
[[nodiscard]] QString testBinFolder();
[[nodiscard]] QString sourceFolder();
// The repository's data folder: the versification table and the King James text.
[[nodiscard]] QString dataFolder();

} // namespace testsupport
