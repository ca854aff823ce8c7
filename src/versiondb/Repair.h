#pragma once

#include "books/Versification.h"
#include "platform/RunControl.h"

#include <QString>
#include <vector>

namespace versiondb {

// What a repair gave back.
struct RepairReport
{
    // False when the version was sound and was left as it was.
    bool rewritten = false;
    // The file did not follow the reference and was rewritten as found, adding nothing.
    bool asFound = false;
    // Verses whose text could not be brought back; they are Null now.
    std::vector<books::SkeletonVerse> lost;
    // Texts brought back with bytes that are not text, or with a line break; each such byte is U+FFFD now.
    std::vector<books::SkeletonVerse> damaged;
    // The damaged file, kept beside the version under a name that does not end in .dat
    // when anything was lost or damaged.
    QString keptOriginal;
    // Changes of the history, or texts it kept, that could not be read whole and are left out: those changes can
    // no longer be taken back.
    bool historyLost = false;

    [[nodiscard]] bool whole() const { return lost.empty() && damaged.empty(); }
};

// Repairs the version at name. A sound version (see Soundness.h) is left as
// it is. Any other has every record that can still be read salvaged, through
// the table while it reads and from the raw pages after that, into a fresh
// file that replaces it once the fresh file is sound; the damaged file stays
// held from before it is read until then.
//
// Every version is built on the records of the reference version skeletonSource,
// so the fresh file gets every record of that skeleton with the text salvaged for
// it, each record found by the majority of its 번호, its 성경구절 and its 권, 장
// and 절; when skeletonSource is empty, the file being repaired, or cannot be read
// soundly, the built-in Korean numbering stands in for it. A file whose records do
// not follow the skeleton is rewritten as found. A file with nothing to salvage
// raises errors and is left as it was. A symbolic link is followed to the file it
// points to, and stays a link.
//
// A run that control cancels stops between records (or between the steps that are no loop of records) and
// raises Cancelled (Cancelled.h) with the file as it was: the fresh file, and the copy of the damaged one, gone.
// Once the fresh file is being put in place, the repair ends whatever the control says.
[[nodiscard]] RepairReport repairDatabase(const QString& name, const QString& skeletonSource = {},
                                          platform::RunControl* control = nullptr);

} // namespace versiondb
