#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace bench {

// The references of the versification table: the stand-in for the generated reference version.
[[nodiscard]] const QSet<QString>& referenceSet();

// The 66 book files of the King James text rewritten with CR LF line ends, as Windows editors write
// them, into folder. Empty on failure.
[[nodiscard]] QStringList bookFilesWithCrLf(const QString& folder);

// The whole Bible in code page 949 with CR LF line ends, times times over in one file. Empty on failure.
[[nodiscard]] QString wholeBibleWithCrLf(const QString& folder, int times);

// The peak resident memory of this process in KiB (VmHWM), 0 where it cannot be read.
[[nodiscard]] long peakResidentKiB();

} // namespace bench
