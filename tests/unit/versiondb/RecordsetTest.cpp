// The table-type record set: indexes, seeks, moves, values and the no-current-record rule.

#include "versiondb/Recordset.h"

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Transaction.h"

using namespace versiondb;
using testsupport::errorOf;

namespace {

class RecordsetTest : public testsupport::InstallTreeTest
{
protected:
    void open(int count = -1, testsupport::Texts texts = testsupport::Texts::None)
    {
        m_file = count < 0 ? m_file : makeVersion(QStringLiteral("v.dat"), count, texts);
        m_db.reset();
        m_db = DBEngine::instance().OpenDatabase(m_file, true, false, passwordConnect());
        m_rs = m_db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    }
    QVariant field(const char* name) { return m_rs->Fields(QString::fromUtf8(name)).Value(); }
    void set(const char* name, const QVariant& value) { m_rs->Fields(QString::fromUtf8(name)).setValue(value); }
    void add(int number, const QVariant& reference, const QVariant& text = QVariant())
    {
        m_rs->AddNew();
        set("번호", number);
        set("성경구절", reference);
        set("본문", text);
        m_rs->Update(dbUpdateRegular, false);
    }
    void seek(const QVariant& key) { m_rs->Seek(QStringLiteral("="), key); }
    // The values of one field in the order of moves from MoveFirst to EOF.
    QVariantList walk(const char* name)
    {
        QVariantList out;
        for (m_rs->MoveFirst(); !m_rs->Eof(); m_rs->MoveNext()) {
            out.push_back(field(name));
        }
        return out;
    }

    QString m_file;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Recordset> m_rs;
};

} // namespace

// Unknown names raise their errors; null keys come first, equal keys in the order they were stored,
// EOF after the last; a seek finds only the key exactly as stored, never a Null.
TEST_F(RecordsetTest, movesAndSeeksFollowTheCurrentIndexUpToEof)
{
    open(0);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("없는표")); }), errorNumber::NoSuchTable);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("본문"), 2); }), errorNumber::NotSupported);
    EXPECT_EQ(errorOf([&] { (void)m_rs->Fields(QStringLiteral("내용")); }), errorNumber::NoSuchField);
    EXPECT_EQ(errorOf([&] { m_rs->MoveFirst(); }), errorNumber::NoCurrentRecord);
    add(3, QStringLiteral("나 1:1"), QStringLiteral("first"));
    add(1, QStringLiteral("다 1:1"));
    add(2, QStringLiteral("가 1:1"));
    add(6, QVariant());
    add(5, QStringLiteral("나 1:1"), QStringLiteral("second"));
    add(7, QVariant());
    {
        Transaction uncommitted(*m_db); // what it stored is rolled back as it leaves scope
        add(8, QStringLiteral("라 1:1"));
    }
    EXPECT_EQ(m_rs->RecordCount(), 6);
    EXPECT_EQ(walk("번호"), (QVariantList{3, 1, 2, 6, 5, 7})); // the table's own order
    m_rs->setIndex(QStringLiteral("번호"));
    EXPECT_EQ(walk("번호"), (QVariantList{1, 2, 3, 5, 6, 7}));
    seek(5);
    EXPECT_EQ(field("본문"), QVariant(QStringLiteral("second")));
    m_rs->setIndex(QStringLiteral("성경구절"));
    EXPECT_EQ(errorOf([&] { m_rs->setIndex(QStringLiteral("권")); }), errorNumber::NoSuchIndex); // a field, no index
    EXPECT_EQ(walk("번호"), (QVariantList{6, 7, 2, 3, 5, 1}));
    m_rs->MoveLast();
    EXPECT_EQ(field("번호"), QVariant(1));
    for (const QVariant& key : {QVariant(QStringLiteral("나 1:01")), QVariant()}) {
        seek(key);
        EXPECT_TRUE(m_rs->NoMatch());
    }
    seek(QStringLiteral("나 1:1"));
    add(4, QStringLiteral("나 1:1")); // AddNew leaves the current record current
    EXPECT_EQ(field("본문"), QVariant(QStringLiteral("first")));
    m_rs->MoveNext();
    m_rs->MoveNext();
    EXPECT_EQ(field("번호"), QVariant(4));
    m_rs->MoveLast();
    m_rs->MoveNext();
    EXPECT_TRUE(m_rs->Eof());
    EXPECT_EQ(errorOf([&] { m_rs->MoveNext(); }), errorNumber::NoCurrentRecord);
}

// Null, "" and "null" are stored as themselves and numbers come back as ints; an edit changes
// only the field set. A failed seek leaves no current record and drops a pending edit.
TEST_F(RecordsetTest, editsStoreValuesAsGivenAndNeedACurrentRecord)
{
    open(5, testsupport::Texts::EveryThird); // texts in 1 and 4 ("null")
    EXPECT_EQ(errorOf([&] { m_rs->Update(); }), errorNumber::UpdateWithoutEdit);
    m_rs->setIndex(QStringLiteral("성경구절"));
    const QVariantList texts{QVariant(), QVariant(QStringLiteral("")), QVariant(QStringLiteral("null")),
                             QVariant(QStringLiteral("null")), QVariant()};
    for (int i = 0; i < 3; ++i) {
        seek(QStringLiteral("창 1:%1").arg(i + 1));
        m_rs->Edit();
        set("본문", texts[i]);
        m_rs->Update();
    }
    seek(QStringLiteral("창 1:5"));
    m_rs->Edit();
    set("본문", QStringLiteral("pending"));
    seek(QStringLiteral("창 9:9"));
    EXPECT_EQ(errorOf([&] { (void)field("본문"); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Edit(); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Update(); }), errorNumber::NoCurrentRecord);
    open();
    for (int n = 1; n <= 5; ++n, m_rs->MoveNext()) {
        EXPECT_EQ(field("번호").typeId(), QMetaType::Int);
        EXPECT_EQ(field("성경구절"), QVariant(QStringLiteral("창 1:%1").arg(n)));
        EXPECT_EQ(field("본문"), texts[n - 1]) << n;
    }
}
