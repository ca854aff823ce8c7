#include "KjvText.h"

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace benchdata {

QStringList kjvBookFiles()
{
    // The names begin with the book's number, so name order is canonical order.
    const QDir books(testsupport::dataFolder() + QDir::separator() + QStringLiteral("kjv-ko"));
    QStringList files;
    for (const QString& name : books.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        files << QDir::toNativeSeparators(books.filePath(name));
    }
    return files;
}

QStringList kjvLines()
{
    QStringList lines;
    for (const QString& path : kjvBookFiles()) {
        QFile file(path);
        // Windows' table of code page 949, as the import reads it.
        QStringDecoder decoder("windows-949");
        if (!file.open(QIODevice::ReadOnly) || !decoder.isValid()) {
            return {};
        }
        const QString text = decoder.decode(file.readAll());
        if (decoder.hasError()) {
            return {};
        }
        lines << text.split(u'\n', Qt::SkipEmptyParts);
    }
    return lines;
}

} // namespace benchdata
