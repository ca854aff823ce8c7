#pragma once

#include <QString>

namespace testsupport {

// The runnable tree that the build laid out, and the helper programs of the tests.
[[nodiscard]] QString builtProgramFolder();
[[nodiscard]] QString builtInstallFolder();
[[nodiscard]] QString testBinFolder();
[[nodiscard]] QString sourceFolder();
// The project's shared test data (read in place, never copied into the project).
[[nodiscard]] QString sharedDataFolder();

} // namespace testsupport
