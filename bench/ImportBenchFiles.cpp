#include "ImportBenchFiles.h"

#include "KjvText.h"
#include "ReferenceTable.h"
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

const QSet<QString>& referenceSet()
{
    static const QSet<QString> references = testsupport::referencesOfVersificationTable(
        testsupport::dataFolder() + QStringLiteral("/versification-ko.tsv"));
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
