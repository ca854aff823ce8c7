#pragma once

#include <QString>

namespace platform {

// The path separator of this platform: "\" on Windows, "/" elsewhere.
[[nodiscard]] QString separator();

// The folder of the running executable, in native separators, without a trailing separator.
[[nodiscard]] QString programFolder();

// The program folder followed by the separator and "..": a literal parent step, never normalised.
[[nodiscard]] QString installFolder(const QString& programFolder);

} // namespace platform
