#pragma once

#include "support/TestPaths.h"

#include <QFile>
#include <QSet>
#include <QString>

namespace testsupport {

// Every canonical reference of a versification table (rows of number, book abbreviation, chapter and verse count after
// the column names), as the reference version made from it holds them; empty if the table cannot be read.
[[nodiscard]] inline QSet<QString> referencesOfVersificationTable(const QString& tsvPath)
{
    QSet<QString> references;
    QFile file(tsvPath);
    for (bool open = file.open(QIODevice::ReadOnly | QIODevice::Text); open && !file.atEnd();) {
        const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        for (int verse = 1; columns.size() == 4 && verse <= columns[3].toInt(); ++verse) {
            references.insert(columns[1] + u' ' + columns[2] + u':' + QString::number(verse));
        }
    }
    return references;
}

// Whether the reference version made from the data folder's table holds this canonical reference.
inline bool inReferenceVersion(const QString& reference)
{
    static const QSet<QString> table =
        referencesOfVersificationTable(dataFolder() + QStringLiteral("/versification-ko.tsv"));
    return table.contains(reference);
}

} // namespace testsupport
