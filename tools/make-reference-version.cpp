// Writes the reference version from the versification table:
//   make-reference-version VERSIFICATION.tsv OUTPUT
// The table has a heading line, then one line per chapter: book number, book
// abbreviation, chapter, number of verses (tab-separated), in canonical order.
// Every verse becomes one record: 번호 from 1 in order, 권, 장, 절, 성경구절 the
// canonical reference ("창 1:1"), 본문 Null.

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

struct Chapter
{
    int book = 0;
    QString abbreviation;
    int chapter = 0;
    int verses = 0;
};

bool readTable(const QString& path, QList<Chapter>& chapters, QString& problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problem = QStringLiteral("cannot read ") + path;
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (lineNumber == 1 || line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList cells = line.split(QLatin1Char('\t'));
        Chapter c;
        bool ok1 = false;
        bool ok2 = false;
        bool ok3 = false;
        if (cells.size() == 4) {
            c.book = cells[0].toInt(&ok1);
            c.abbreviation = cells[1];
            c.chapter = cells[2].toInt(&ok2);
            c.verses = cells[3].toInt(&ok3);
        }
        if (!ok1 || !ok2 || !ok3 || c.book < 1 || c.chapter < 1 || c.verses < 1 || c.abbreviation.isEmpty()) {
            problem = QStringLiteral("%1:%2: not a versification line").arg(path).arg(lineNumber);
            return false;
        }
        chapters.push_back(c);
    }
    return true;
}

void write(const QString& path, const QList<Chapter>& chapters)
{
    versiondb::VersionFile::create(path, versiondb::PasswordVerifier::forDatabasePassword());
    auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"), versiondb::dbOpenTable);
    versiondb::Transaction transaction(*db);
    int number = 0;
    for (const Chapter& c : chapters) {
        for (int verse = 1; verse <= c.verses; ++verse) {
            rs->AddNew();
            rs->Fields(QStringLiteral("번호")).setValue(++number);
            rs->Fields(QStringLiteral("권")).setValue(c.book);
            rs->Fields(QStringLiteral("장")).setValue(c.chapter);
            rs->Fields(QStringLiteral("절")).setValue(verse);
            rs->Fields(QStringLiteral("성경구절"))
                .setValue(c.abbreviation + QLatin1Char(' ') + QString::number(c.chapter) + QLatin1Char(':') +
                          QString::number(verse));
            rs->Update(versiondb::dbUpdateRegular, false);
        }
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
    if (args.size() != 3) {
        std::fputs("usage: make-reference-version VERSIFICATION.tsv OUTPUT\n", stderr);
        return 2;
    }
    QList<Chapter> chapters;
    QString problem;
    if (!readTable(args.at(1), chapters, problem)) {
        std::fprintf(stderr, "make-reference-version: %s\n", qPrintable(problem));
        return 1;
    }
    const QString output = args.at(2);
    const QString partial = output + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        write(partial, chapters);
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
