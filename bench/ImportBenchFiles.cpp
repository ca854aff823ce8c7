#include "ImportBenchFiles.h"

#include "KjvText.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QFileInfo>

namespace bench {

namespace {

bool copyWithCrLf(const QString& from, QFile& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    while (!in.atEnd()) {
        QByteArray line = in.readLine();
        if (line.endsWith('\n')) {
            line.insert(line.size() - 1, '\r');
        }
        if (to.write(line) != line.size()) {
            return false;
        }
    }
    return true;
}

} // namespace

// Every canonical reference of the versification table (rows of number, book abbreviation, chapter and verse count
// after the column names), as the reference version made from it holds them.
const QSet<QString>& referenceSet()
{
    static const QSet<QString> references = [] {
        QSet<QString> all;
        QFile file(testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
        for (bool open = file.open(QIODevice::ReadOnly | QIODevice::Text); open && !file.atEnd();) {
            const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
            for (int verse = 1; columns.size() == 4 && verse <= columns[3].toInt(); ++verse) {
                all.insert(columns[1] + u' ' + columns[2] + u':' + QString::number(verse));
            }
        }
        return all;
    }();
    return references;
}

QStringList bookFilesWithCrLf(const QString& folder)
{
    QStringList files;
    for (const QString& book : benchdata::kjvBookFiles()) {
        const QString path = folder + u'/' + QFileInfo(book).fileName();
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || !copyWithCrLf(book, out)) {
            return {};
        }
        files << path;
    }
    return files;
}

QString wholeBibleWithCrLf(const QString& folder, int times)
{
    const QString path = folder + QStringLiteral("/whole.txt");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return {};
    }
    const QStringList books = benchdata::kjvBookFiles();
    if (books.size() != 66) {
        return {};
    }
    for (int i = 0; i < times; ++i) {
        for (const QString& book : books) {
            if (!copyWithCrLf(book, out)) {
                return {};
            }
        }
    }
    return path;
}

long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return 0;
    }
    // Files under /proc report no size, so they are read whole rather than tested for their end.
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

} // namespace bench
