#pragma once

#include "books/Versification.h"
#include "platform/RunControl.h"
#include "versiondb/Error.h"

#include <QList>
#include <QString>
#include <optional>

namespace versiondb {

// One record of a version as the export and the report need it, with the parts of its reference.
struct Verse : books::ReferenceParts
{
    qint64 number = 0;           // 번호
    QString reference;           // 성경구절, canonical: "창 1:1"
    std::optional<QString> text; // 본문; nothing for Null
};

// The verses of a version, or why they could not be read.
struct VersionVerses
{
    QList<Verse> verses; // in the order of the index "번호"
    // The engine could not open or read the version.
    std::optional<versiondb::ErrorItem> failure;
    // A record whose 성경구절 is not a canonical reference of a book of the table:
    // its 번호 and its 성경구절 as stored (empty for Null).
    std::optional<Verse> unreadable;
    // The run was cancelled before every verse was read.
    bool cancelled = false;

    [[nodiscard]] bool read() const { return !failure && !unreadable && !cancelled; }
};

// Opens the version exclusively with the database password, as every command does (a version
// in use is refused), reads all of its records in the order of the index "번호", in one pass,
// and closes it. The verses read out of all are reported to control, when given, which can stop
// the reading between verses (cancelled, no verses).
[[nodiscard]] VersionVerses readVersionVerses(const QString& path, platform::RunControl* control = nullptr);

// How many verses a run reads between two reports and looks at its control.
inline constexpr qint64 kVersesBetweenChecks = 512;

// Reports done out of total to control now and then and raises versiondb::Cancelled once it is cancelled;
// a null control does nothing.
void reportVerses(platform::RunControl* control, qint64 done, qint64 total);

} // namespace versiondb
