#include "ReferenceTable.h"

#include <QFile>

namespace testsupport {

QSet<QString> referencesOfVersificationTable(const QString& tsvPath)
{
    QSet<QString> references;
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return references;
    }
    file.readLine(); // column names
    while (!file.atEnd()) {
        const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (columns.size() != 4) {
            continue;
        }
        const int verses = columns[3].toInt();
        for (int verse = 1; verse <= verses; ++verse) {
            references.insert(columns[1] + u' ' + columns[2] + u':' + QString::number(verse));
        }
    }
    return references;
}

} // namespace testsupport
