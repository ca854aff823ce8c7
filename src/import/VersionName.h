#pragma once

#include <QString>
#include <optional>

namespace importer {

// The version name completed as the build uses it: ".DAT" appended when it holds no ".".
[[nodiscard]] QString completeVersionName(const QString& name);

// Beside a version's file name while a build makes it; never ends in ".dat".
inline constexpr QLatin1StringView kStagingSuffix(".building");

// Why a version name cannot name a file in the install folder, or nothing when it can:
// it must stay a plain file name there (no folder separator, no "..", no character
// that file names may not hold) and must not be taken for another version's side,
// work or staging file, which would be removed with it.
[[nodiscard]] std::optional<QString> versionNameProblem(const QString& name);

} // namespace importer
