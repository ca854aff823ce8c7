// Writes an empty version database (the template null.mdb, the shipped user.dat):
//   make-empty-version OUTPUT
// The output is written beside itself under a temporary name and then moved
// into place, so an interrupted build never leaves half a file.

#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/VersionFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: make-empty-version OUTPUT\n", stderr);
        return 2;
    }
    const QString output = args.at(1);
    const QString partial = output + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        versiondb::VersionFile::create(partial, versiondb::PasswordVerifier::forDatabasePassword());
    } catch (const versiondb::Error& e) {
        std::fprintf(stderr, "make-empty-version: %s: %s\n", qPrintable(output), e.what());
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make-empty-version: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
