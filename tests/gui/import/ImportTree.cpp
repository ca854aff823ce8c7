#include "ImportTree.h"

#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"

#include <QFile>
#include <QStringEncoder>

namespace testsupport {

namespace {

std::unique_ptr<versiondb::Database> open(const QString& path)
{
    return versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
}

} // namespace

ImportTree::ImportTree() : m_install(QDir::toNativeSeparators(m_root.filePath(QStringLiteral("viewer"))))
{
    const QString built = builtProgramFolder() + QDir::separator();
    m_valid = m_root.isValid() && QDir().mkpath(programFolder()) &&
              QFile::copy(built + QStringLiteral("null.mdb"), programFile(QStringLiteral("null.mdb"))) &&
              QFile::copy(built + QStringLiteral("list.avi"), programFile(QStringLiteral("list.avi"))) &&
              makeSmallReference();
}

bool ImportTree::makeSmallReference()
{
    const QString reference = versionPath(QStringLiteral("개역.DAT"));
    if (!QFile::copy(programFile(QStringLiteral("null.mdb")), reference)) {
        return false;
    }
    try {
        auto db = open(reference);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        versiondb::Transaction transaction(*db);
        for (int number = 1; number <= 4; ++number) {
            rs->AddNew();
            rs->Fields(QStringLiteral("번호")).setValue(number);
            rs->Fields(QStringLiteral("권")).setValue(number < 4 ? 1 : 2);
            rs->Fields(QStringLiteral("장")).setValue(1);
            rs->Fields(QStringLiteral("절")).setValue(number < 4 ? number : 1);
            rs->Fields(QStringLiteral("성경구절"))
                .setValue(number < 4 ? QStringLiteral("창 1:%1").arg(number) : QStringLiteral("출 1:1"));
            rs->Update();
        }
        transaction.Commit();
        rs->Close();
        db->Close();
        return true;
    } catch (const versiondb::Error&) {
        return false;
    }
}

QString ImportTree::textFile(const QString& name, const QStringList& lines)
{
    QFile file(m_root.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write(QStringEncoder("windows-949").encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return QDir::toNativeSeparators(file.fileName());
}

QString ImportTree::folder(const QString& name)
{
    QDir(m_root.path()).mkpath(name);
    return QDir::toNativeSeparators(m_root.filePath(name));
}

QList<std::pair<QString, QString>> ImportTree::texts(const QString& path)
{
    QList<std::pair<QString, QString>> result;
    try {
        auto db = open(path);
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const QVariant text = rs->Fields(QStringLiteral("본문")).Value();
            result.append({rs->Fields(QStringLiteral("성경구절")).Value().toString(),
                           text.isNull() ? QStringLiteral("<Null>") : text.toString()});
        }
        rs->Close();
        db->Close();
    } catch (const versiondb::Error&) {
        result.append({QStringLiteral("<cannot open>"), path});
    }
    return result;
}

} // namespace testsupport
