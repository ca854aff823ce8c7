// The table-type record set: indexes, seeks, moves, counts, values and the
// no-current-record rule.

#include "versiondb/Recordset.h"

#include "support/InstallTreeTest.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"

using namespace versiondb;
using testsupport::errorOf;

namespace {

class RecordsetTest : public testsupport::InstallTreeTest
{
protected:
    void openVersion(int count, testsupport::Texts texts = testsupport::Texts::None)
    {
        m_file = makeVersion(QStringLiteral("v.dat"), count, texts);
        reopen();
    }
    void reopen()
    {
        m_rs.reset();
        m_db.reset();
        m_db = DBEngine::instance().OpenDatabase(m_file, true, false, passwordConnect());
        m_rs = m_db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    }
    QVariant field(const char* name) { return m_rs->Fields(QString::fromUtf8(name)).Value(); }
    void add(int number, const QVariant& reference, const QVariant& text = QVariant())
    {
        m_rs->AddNew();
        m_rs->Fields(QStringLiteral("번호")).setValue(number);
        m_rs->Fields(QStringLiteral("성경구절")).setValue(reference);
        m_rs->Fields(QStringLiteral("본문")).setValue(text);
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

TEST_F(RecordsetTest, unknownTableIndexAndFieldNamesRaiseTheirErrors)
{
    openVersion(2);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("없는표")); }), errorNumber::NoSuchTable);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("본문"), 2); }), errorNumber::NotSupported);
    m_rs->setIndex(QStringLiteral("번호"));
    EXPECT_EQ(errorOf([&] { m_rs->setIndex(QStringLiteral("장절")); }), errorNumber::NoSuchIndex);
    EXPECT_EQ(m_rs->Index(), QStringLiteral("번호"));
    EXPECT_EQ(errorOf([&] { (void)m_rs->Fields(QStringLiteral("내용")); }), errorNumber::NoSuchField);
    EXPECT_EQ(DBEngine::instance().errors().Count(), 1);
    EXPECT_EQ(DBEngine::instance().errors().Item(0).Number, errorNumber::NoSuchField);
}

TEST_F(RecordsetTest, seeksOnBothIndexesFindOnlyTheKeyExactlyAsStored)
{
    openVersion(120);
    m_rs->setIndex(QStringLiteral("성경구절"));
    seek(QStringLiteral("창 1:77"));
    ASSERT_FALSE(m_rs->NoMatch());
    EXPECT_EQ(field("번호"), QVariant(77));
    for (const QVariant& key : {QVariant(QStringLiteral("창1:1")), QVariant(QStringLiteral("창 1:01")),
                                QVariant(QStringLiteral("창 1:121")), QVariant(QString()), QVariant()}) {
        seek(key);
        EXPECT_TRUE(m_rs->NoMatch()) << key.toString().toStdString();
    }
    m_rs->setIndex(QStringLiteral("번호"));
    seek(101);
    ASSERT_FALSE(m_rs->NoMatch());
    EXPECT_EQ(field("성경구절"), QVariant(QStringLiteral("창 1:101")));
    EXPECT_EQ(field("권"), QVariant(2));
}

// Null keys come first; equal keys in the order they were stored.
TEST_F(RecordsetTest, movesFollowTheCurrentIndex)
{
    openVersion(0);
    add(3, QStringLiteral("나 1:1"), QStringLiteral("first"));
    add(1, QStringLiteral("다 1:1"));
    add(2, QStringLiteral("가 1:1"));
    add(6, QVariant());
    add(5, QStringLiteral("나 1:1"), QStringLiteral("second"));
    EXPECT_EQ(m_rs->RecordCount(), 5);
    EXPECT_EQ(walk("번호"), (QVariantList{3, 1, 2, 6, 5})); // the table's own order
    m_rs->setIndex(QStringLiteral("번호"));
    EXPECT_EQ(walk("번호"), (QVariantList{1, 2, 3, 5, 6}));
    m_rs->MoveLast();
    EXPECT_EQ(field("번호"), QVariant(6));
    m_rs->setIndex(QStringLiteral("성경구절"));
    EXPECT_EQ(walk("번호"), (QVariantList{6, 2, 3, 5, 1}));
    m_rs->MoveLast();
    EXPECT_EQ(field("번호"), QVariant(1));
    seek(QStringLiteral("나 1:1"));
    EXPECT_EQ(field("본문"), QVariant(QStringLiteral("first")));
}

TEST_F(RecordsetTest, eofComesAfterTheLastRecordAndMovingOnIsAnError)
{
    openVersion(0);
    EXPECT_TRUE(m_rs->Eof());
    EXPECT_EQ(errorOf([&] { m_rs->MoveFirst(); }), errorNumber::NoCurrentRecord);
    add(1, QStringLiteral("창 1:1"));
    add(2, QStringLiteral("창 1:2"));
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->MoveLast();
    EXPECT_FALSE(m_rs->Eof());
    m_rs->MoveNext();
    EXPECT_TRUE(m_rs->Eof());
    EXPECT_EQ(errorOf([&] { (void)field("번호"); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->MoveNext(); }), errorNumber::NoCurrentRecord);
}

// Null, "" and "null" come back as themselves, numbers as ints; an edit changes only the field set.
TEST_F(RecordsetTest, valuesComeBackAsStoredAndEditChangesOnlyTheFieldsSet)
{
    openVersion(5, testsupport::Texts::EveryThird); // texts in 1 and 4 ("null")
    m_rs->setIndex(QStringLiteral("성경구절"));
    const QVariantList values{QVariant(), QVariant(QStringLiteral("")), QVariant(QStringLiteral("null"))};
    for (int i = 0; i < values.size(); ++i) {
        seek(QStringLiteral("창 1:%1").arg(i + 1));
        m_rs->Edit();
        m_rs->Fields(QStringLiteral("본문")).setValue(values[i]);
        m_rs->Update();
    }
    reopen();
    m_rs->setIndex(QStringLiteral("번호"));
    for (m_rs->MoveFirst(); !m_rs->Eof(); m_rs->MoveNext()) {
        const int n = field("번호").toInt();
        SCOPED_TRACE(n);
        for (const char* name : {"번호", "권", "장", "절"}) {
            EXPECT_EQ(field(name).typeId(), QMetaType::Int);
        }
        EXPECT_EQ(field("성경구절"), QVariant(QStringLiteral("창 1:%1").arg(n)));
        EXPECT_EQ(field("절"), QVariant(n));
        const QVariant expected = n <= 3 ? values[n - 1] : n == 4 ? QVariant(QStringLiteral("null")) : QVariant();
        EXPECT_EQ(field("본문").typeId(), expected.typeId());
        EXPECT_EQ(field("본문"), expected);
    }
}

TEST_F(RecordsetTest, afterAFailedSeekThereIsNoCurrentRecordAndNothingIsStored)
{
    openVersion(3);
    m_rs->setIndex(QStringLiteral("성경구절"));
    seek(QStringLiteral("창 1:2"));
    m_rs->Edit();
    m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("pending"));
    seek(QStringLiteral("창 9:9"));
    ASSERT_TRUE(m_rs->NoMatch());
    EXPECT_EQ(errorOf([&] { (void)field("본문"); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Edit(); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Update(); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("x")); }),
              errorNumber::NoCurrentRecord);
    EXPECT_EQ(m_rs->RecordCount(), 3);
    reopen();
    EXPECT_EQ(walk("본문"), (QVariantList{QVariant(), QVariant(), QVariant()}));
}

TEST_F(RecordsetTest, updateOrSetValueWithoutAddNewOrEditIsAnError)
{
    openVersion(1);
    m_rs->MoveFirst();
    EXPECT_EQ(errorOf([&] { m_rs->Update(); }), errorNumber::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("x")); }),
              errorNumber::UpdateWithoutEdit);
}

TEST_F(RecordsetTest, addNewLeavesTheCurrentRecordCurrent)
{
    openVersion(3);
    m_rs->setIndex(QStringLiteral("번호"));
    seek(2);
    add(4, QStringLiteral("창 1:4"));
    EXPECT_EQ(field("번호"), QVariant(2));
    m_rs->MoveNext();
    m_rs->MoveNext();
    EXPECT_EQ(field("번호"), QVariant(4));
}
