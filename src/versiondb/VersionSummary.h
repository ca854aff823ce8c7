#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace versiondb {

// What a list of versions shows of one version beyond its file: how many verses it has, how many of them
// hold a text, and when its texts last changed.
struct VersionSummary
{
    qint64 verses = 0;
    qint64 versesWithText = 0;        // 본문 neither Null nor empty
    std::optional<QDateTime> changed; // the newest change of the history; nothing without one

    friend bool operator==(const VersionSummary&, const VersionSummary&) = default;
};

// Reads the summary of the version at path, held unchanged for the moment of the reading (nothing is written, a
// read-only file is read too). Raises versiondb::Error as an open does: "file in use" while anyone holds it.
[[nodiscard]] VersionSummary summarizeVersion(const QString& path);

} // namespace versiondb
