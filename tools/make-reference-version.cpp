// Writes the reference version from the Korean numbering built into versiondb
// (data/versification-ko.tsv):
//   make-reference-version OUTPUT
// Every verse becomes one record: 번호 from 1 in order, 권, 장, 절, 성경구절 the
// canonical reference ("창 1:1"), 본문 Null.

#include "books/Versification.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

void write(const QString& path)
{
    versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
    auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"), versiondb::dbOpenTable);
    versiondb::Transaction transaction(*db);
    for (const books::SkeletonVerse& v : books::koreanVersification()) {
        rs->AddNew();
        rs->Fields(QStringLiteral("번호")).setValue(v.number);
        rs->Fields(QStringLiteral("권")).setValue(v.book);
        rs->Fields(QStringLiteral("장")).setValue(v.chapter);
        rs->Fields(QStringLiteral("절")).setValue(v.verse);
        rs->Fields(QStringLiteral("성경구절")).setValue(v.reference);
        rs->Update(versiondb::dbUpdateRegular, false);
    }
    transaction.Commit();
    rs->Close();
    db->Close();
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
