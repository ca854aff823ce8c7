// Writes a shipped version database, built as two tools:
//   make-empty-version OUTPUT      an empty version (the template null.mdb, the shipped user.dat)
//   make-reference-version OUTPUT  the reference version, from the Korean numbering built into
//                                  books (data/versification-ko.tsv): every verse one record,
//                                  번호 from 1 in order, 권, 장, 절, 성경구절 the canonical
//                                  reference ("창 1:1"), 본문 Null
// The output is written beside itself under a temporary name and then moved
// into place, so an interrupted build never leaves half a file.

#include "books/Versification.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

#ifdef MAKE_REFERENCE_VERSION
constexpr const char* kName = "make-reference-version";
#else
constexpr const char* kName = "make-empty-version";
#endif

void write(const QString& path)
{
    versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
#ifdef MAKE_REFERENCE_VERSION
    const auto version = versiondb::VersionStore::openDatabase(path);
    versiondb::Transaction transaction(*version);
    for (const books::SkeletonVerse& v : books::koreanVersification()) {
        version->addRecord({v.number, v.book, v.chapter, v.verse, v.reference, {}});
    }
    transaction.commit();
    version->close();
#endif
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", kName);
        return 2;
    }
    const QString output = args.at(1);
    const QString partial = output + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        write(partial);
    } catch (const versiondb::Error& e) {
        std::fprintf(stderr, "%s: %s: %s\n", kName, qPrintable(output), e.what());
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "%s: cannot write %s\n", kName, qPrintable(output));
        return 1;
    }
    return 0;
}
