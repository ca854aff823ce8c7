#pragma once

#include <QSet>
#include <QString>

namespace testsupport {

// Every canonical reference of the Korean versification table (book abbreviation, chapter and
// verse count per row), as the generated reference version holds them. Empty if the table
// cannot be read.
[[nodiscard]] QSet<QString> referencesOfVersificationTable(const QString& tsvPath);

} // namespace testsupport
