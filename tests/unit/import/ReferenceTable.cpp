#include "ReferenceTable.h"

#include <QFile>

namespace testsupport {

QSet<QString> referencesOfVersificationTable(const QString& tsvPath)
{
    QSet<QString> references;
    QFile file(tsvPath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!file.atEnd()) { // rows of number, abbreviation, chapter, verses after the column names
            const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
            for (int verse = 1; columns.size() == 4 && verse <= columns[3].toInt(); ++verse) {
                references.insert(columns[1] + u' ' + columns[2] + u':' + QString::number(verse));
            }
        }
    }
    return references;
}

} // namespace testsupport
