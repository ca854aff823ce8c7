#pragma once

#include <QString>

namespace versiondb {

// Paths are built by plain concatenation of the program folder, the platform
// separator and a fixed text; the install folder step ".." is never normalised.

// program folder + sep + ".." + sep + "개역.DAT", matched to the stored name without regard to letter case.
[[nodiscard]] QString referenceVersionPath(const QString& programFolder);
// program folder + sep + ".." + sep + fileName
[[nodiscard]] QString versionPath(const QString& programFolder, const QString& fileName);
// program folder + sep + "null.mdb"
[[nodiscard]] QString templatePath(const QString& programFolder);
// program folder + sep + "temp.mdb"
[[nodiscard]] QString scratchPath(const QString& programFolder);

// The same path with its last part replaced by the folder's entry that matches
// it without regard to letter case (an exact match first), or the path unchanged.
[[nodiscard]] QString resolveFileNameCase(const QString& path);

// The display name of a path: the part after its last separator.
[[nodiscard]] QString displayName(const QString& path);

// True when the display name, with A-Z lower-cased, is kjv.dat, user.dat or 개역.dat.
[[nodiscard]] bool isShippedName(const QString& path);

} // namespace versiondb
