#pragma once

#include "support/TestPaths.h"

#include <QSet>
#include <QString>

namespace testsupport {

// Every canonical reference of a versification table (rows of book abbreviation, chapter and verse
// count), as the reference version made from it holds them; empty if the table cannot be read.
[[nodiscard]] QSet<QString> referencesOfVersificationTable(const QString& tsvPath);

// Whether the reference version made from the data folder's table holds this canonical reference.
inline bool inReferenceVersion(const QString& reference)
{
    static const QSet<QString> table =
        referencesOfVersificationTable(dataFolder() + QStringLiteral("/versification-ko.tsv"));
    return table.contains(reference);
}

} // namespace testsupport
