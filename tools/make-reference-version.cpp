// Writes the reference version from the Korean numbering built into books
// (data/versification-ko.tsv):
//   make-reference-version OUTPUT
// Every verse becomes one record: 번호 from 1 in order, 권, 장, 절, 성경구절 the
// canonical reference ("창 1:1"), 본문 Null.

#include "books/Versification.h"
#include "versiondb/Error.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

void write(const QString& path)
{
    versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
    const auto version = versiondb::VersionStore::openDatabase(path);
    versiondb::Transaction transaction(*version);
    for (const books::SkeletonVerse& v : books::koreanVersification()) {
        version->addRecord({v.number, v.book, v.chapter, v.verse, v.reference, {}});
    }
    transaction.commit();
    version->close();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: make-reference-version OUTPUT\n", stderr);
        return 2;
    }
    const QString output = args.at(1);
    const QString partial = output + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        write(partial);
    } catch (const versiondb::Error& e) {
        std::fprintf(stderr, "make-reference-version: %s: %s\n", qPrintable(output), e.what());
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make-reference-version: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
