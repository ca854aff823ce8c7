#include "ImportTree.h"

#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

namespace testsupport {

namespace {

struct Verse
{
    int number;
    int book;
    int chapter;
    int verse;
    const char* reference;
};

const Verse kSmallReference[] = {
    {1, 1, 1, 1, "창 1:1"},
    {2, 1, 1, 2, "창 1:2"},
    {3, 1, 1, 3, "창 1:3"},
    {4, 2, 1, 1, "출 1:1"},
};

} // namespace

ImportTree::ImportTree()
{
    if (!m_root.isValid()) {
        return;
    }
    m_install = QDir::toNativeSeparators(m_root.filePath(QStringLiteral("viewer")));
    m_program = m_install + QDir::separator() + QStringLiteral("manager");
    const QString built = builtProgramFolder() + QDir::separator();
    m_valid =
        QDir().mkpath(m_program) &&
        QFile::copy(built + QStringLiteral("null.mdb"), m_program + QDir::separator() + QStringLiteral("null.mdb")) &&
        QFile::copy(built + QStringLiteral("list.avi"), clipPath()) && makeSmallReference();
}

QString ImportTree::versionPath(const QString& name) const
{
    return m_install + QDir::separator() + name;
}

QString ImportTree::referencePath() const
{
    return versionPath(QStringLiteral("개역.DAT"));
}

QString ImportTree::errorLogPath() const
{
    return m_program + QDir::separator() + QStringLiteral("err.txt");
}

QString ImportTree::clipPath() const
{
    return m_program + QDir::separator() + QStringLiteral("list.avi");
}

bool ImportTree::makeSmallReference()
{
    if (!QFile::copy(m_program + QDir::separator() + QStringLiteral("null.mdb"), referencePath())) {
        return false;
    }
    try {
        auto db =
            versiondb::DBEngine::instance().OpenDatabase(referencePath(), true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        for (const Verse& v : kSmallReference) {
            rs->AddNew();
            rs->Fields(QStringLiteral("번호")).setValue(v.number);
            rs->Fields(QStringLiteral("권")).setValue(v.book);
            rs->Fields(QStringLiteral("장")).setValue(v.chapter);
            rs->Fields(QStringLiteral("절")).setValue(v.verse);
            rs->Fields(QStringLiteral("성경구절")).setValue(QString::fromUtf8(v.reference));
            rs->Update();
        }
        rs->Close();
        db->Close();
        return true;
    } catch (const versiondb::Error&) {
        return false;
    }
}

bool ImportTree::useFullReference()
{
    QFile::remove(referencePath());
    return QFile::copy(builtInstallFolder() + QDir::separator() + QStringLiteral("개역.DAT"), referencePath());
}

QString ImportTree::textFile(const QString& name, const QStringList& lines)
{
    const QString path = QDir::toNativeSeparators(m_root.filePath(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    QStringEncoder encoder("windows-949");
    file.write(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return path;
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
        auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
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
