// The table-type record set: indexes, seeks, moves, counts, values and the
// no-current-record rule.

#include "versiondb/Recordset.h"

#include "VersionFixture.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"

#include <QFile>

using namespace versiondb;
using versiondbtest::errorOf;

namespace {

class RecordsetTest : public versiondbtest::VersionFixture
{
protected:
    void openVersion(int count)
    {
        m_file = makeVersion(QStringLiteral("v.dat"), count);
        reopen();
    }
    void reopen()
    {
        if (m_rs) {
            m_rs->Close();
        }
        if (m_db) {
            m_db->Close();
        }
        m_db = DBEngine::instance().OpenDatabase(m_file, true, false, passwordConnect());
        m_rs = m_db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    }
    QVariant field(const char* name) { return m_rs->Fields(QString::fromUtf8(name)).Value(); }
    void add(int number, const QString& reference, const QVariant& text = QVariant())
    {
        m_rs->AddNew();
        m_rs->Fields(QStringLiteral("번호")).setValue(number);
        m_rs->Fields(QStringLiteral("성경구절")).setValue(reference);
        m_rs->Fields(QStringLiteral("본문")).setValue(text);
        m_rs->Update(dbUpdateRegular, false);
    }
    // The values of one field in the order of moves from MoveFirst to EOF.
    QVariantList walk(const char* name)
    {
        QVariantList out;
        m_rs->MoveFirst();
        while (!m_rs->Eof()) {
            out.push_back(field(name));
            m_rs->MoveNext();
        }
        return out;
    }

    QString m_file;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Recordset> m_rs;
};

} // namespace

TEST_F(RecordsetTest, opensOnlyTheTableTypeOfAnExistingTable)
{
    openVersion(1);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("없는표")); }), errorNumber::NoSuchTable);
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("본문"), 2); }), errorNumber::NotSupported);
}

TEST_F(RecordsetTest, unknownIndexAndFieldNamesRaiseTheirErrors)
{
    openVersion(2);
    m_rs->setIndex(QStringLiteral("번호"));
    EXPECT_EQ(errorOf([&] { m_rs->setIndex(QStringLiteral("장절")); }), errorNumber::NoSuchIndex);
    EXPECT_EQ(m_rs->Index(), QStringLiteral("번호"));
    EXPECT_EQ(errorOf([&] { (void)m_rs->Fields(QStringLiteral("내용")); }), errorNumber::NoSuchField);
    EXPECT_EQ(DBEngine::instance().errors().Count(), 1);
    EXPECT_EQ(DBEngine::instance().errors().Item(0).Number, errorNumber::NoSuchField);
}

TEST_F(RecordsetTest, seeksOnBothIndexes)
{
    openVersion(120);
    m_rs->setIndex(QStringLiteral("성경구절"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:77"));
    ASSERT_FALSE(m_rs->NoMatch());
    EXPECT_EQ(field("번호"), QVariant(77));
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->Seek(QStringLiteral("="), 101);
    ASSERT_FALSE(m_rs->NoMatch());
    EXPECT_EQ(field("성경구절"), QVariant(QStringLiteral("창 1:101")));
    EXPECT_EQ(field("권"), QVariant(2));
}

TEST_F(RecordsetTest, seekFindsOnlyTheReferenceExactlyAsStored)
{
    openVersion(12);
    m_rs->setIndex(QStringLiteral("성경구절"));
    for (const QString& key : {QStringLiteral("창1:1"), QStringLiteral("창 01:1"), QStringLiteral("창 1:01"),
                               QStringLiteral("창 1:13"), QStringLiteral("")}) {
        SCOPED_TRACE(key.toStdString());
        m_rs->Seek(QStringLiteral("="), key);
        EXPECT_TRUE(m_rs->NoMatch());
    }
    m_rs->Seek(QStringLiteral("="), QVariant());
    EXPECT_TRUE(m_rs->NoMatch());
}

TEST_F(RecordsetTest, movesFollowTheCurrentIndex)
{
    m_file = makeVersion(QStringLiteral("v.dat"), 0);
    reopen();
    add(3, QStringLiteral("가 1:3"));
    add(1, QStringLiteral("다 1:1"));
    add(2, QStringLiteral("나 1:2"));
    EXPECT_EQ(walk("번호"), (QVariantList{3, 1, 2})); // the table's own order
    m_rs->setIndex(QStringLiteral("번호"));
    EXPECT_EQ(walk("번호"), (QVariantList{1, 2, 3}));
    m_rs->MoveLast();
    EXPECT_EQ(field("번호"), QVariant(3));
    m_rs->setIndex(QStringLiteral("성경구절"));
    EXPECT_EQ(walk("번호"), (QVariantList{3, 2, 1}));
    m_rs->MoveLast();
    EXPECT_EQ(field("번호"), QVariant(1));
}

TEST_F(RecordsetTest, equalKeysComeInTheOrderTheyWereStored)
{
    m_file = makeVersion(QStringLiteral("v.dat"), 0);
    reopen();
    add(2, QStringLiteral("창 1:1"), QStringLiteral("first"));
    add(1, QStringLiteral("창 1:1"), QStringLiteral("second"));
    add(3, QStringLiteral("창 1:2"));
    m_rs->setIndex(QStringLiteral("성경구절"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:1"));
    EXPECT_EQ(field("본문"), QVariant(QStringLiteral("first")));
    EXPECT_EQ(walk("번호"), (QVariantList{2, 1, 3}));
}

TEST_F(RecordsetTest, nullKeysComeFirstAndAreWalkedPast)
{
    m_file = makeVersion(QStringLiteral("v.dat"), 0);
    reopen();
    add(5, QStringLiteral("나 1:1"));
    m_rs->AddNew();
    m_rs->Fields(QStringLiteral("번호")).setValue(6);
    m_rs->Update();
    add(7, QStringLiteral("가 1:1"));
    m_rs->setIndex(QStringLiteral("성경구절"));
    EXPECT_EQ(walk("번호"), (QVariantList{6, 7, 5}));
}

TEST_F(RecordsetTest, eofComesAfterTheLastRecordAndMovingOnIsAnError)
{
    openVersion(2);
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->MoveLast();
    EXPECT_FALSE(m_rs->Eof());
    m_rs->MoveNext();
    EXPECT_TRUE(m_rs->Eof());
    EXPECT_EQ(errorOf([&] { (void)field("번호"); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->MoveNext(); }), errorNumber::NoCurrentRecord);
}

TEST_F(RecordsetTest, anEmptyTableIsAtEofAndHasNoFirstRecord)
{
    openVersion(0);
    EXPECT_TRUE(m_rs->Eof());
    EXPECT_EQ(m_rs->RecordCount(), 0);
    EXPECT_EQ(errorOf([&] { m_rs->MoveFirst(); }), errorNumber::NoCurrentRecord);
    EXPECT_TRUE(m_rs->Eof());
}

TEST_F(RecordsetTest, recordCountIsExact)
{
    openVersion(250);
    EXPECT_EQ(m_rs->RecordCount(), 250);
    add(251, QStringLiteral("창 1:251"));
    EXPECT_EQ(m_rs->RecordCount(), 251);
    reopen();
    EXPECT_EQ(m_rs->RecordCount(), 251);
}

TEST_F(RecordsetTest, nullEmptyTextAndTheLettersNullComeBackAsThemselves)
{
    openVersion(3);
    m_rs->setIndex(QStringLiteral("성경구절"));
    const QVariantList values{QVariant(), QVariant(QStringLiteral("")), QVariant(QStringLiteral("null"))};
    for (int i = 0; i < values.size(); ++i) {
        m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:%1").arg(i + 1));
        m_rs->Edit();
        m_rs->Fields(QStringLiteral("본문")).setValue(values[i]);
        m_rs->Update();
    }
    reopen();
    m_rs->setIndex(QStringLiteral("성경구절"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:1"));
    EXPECT_FALSE(field("본문").isValid());
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:2"));
    EXPECT_EQ(field("본문").typeId(), QMetaType::QString);
    EXPECT_EQ(field("본문").toString(), QStringLiteral(""));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:3"));
    EXPECT_EQ(field("본문").typeId(), QMetaType::QString);
    EXPECT_EQ(field("본문").toString(), QStringLiteral("null"));
}

TEST_F(RecordsetTest, integerFieldsComeBackAsInts)
{
    openVersion(1);
    m_rs->MoveFirst();
    for (const char* name : {"번호", "권", "장", "절"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(field(name).typeId(), QMetaType::Int);
    }
    EXPECT_EQ(field("성경구절").typeId(), QMetaType::QString);
}

TEST_F(RecordsetTest, editChangesOnlyTheFieldsSet)
{
    openVersion(5);
    m_rs->setIndex(QStringLiteral("성경구절"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:4"));
    m_rs->Edit();
    m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("하나님이 그 빛을 보시니"));
    m_rs->Update(dbUpdateRegular, false);
    EXPECT_EQ(field("본문"), QVariant(QStringLiteral("하나님이 그 빛을 보시니")));
    reopen();
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->MoveFirst();
    while (!m_rs->Eof()) {
        const int n = field("번호").toInt();
        EXPECT_EQ(field("성경구절"), QVariant(QStringLiteral("창 1:%1").arg(n)));
        EXPECT_EQ(field("절"), QVariant(n));
        EXPECT_EQ(field("본문").isValid(), n == 4);
        m_rs->MoveNext();
    }
}

TEST_F(RecordsetTest, afterAFailedSeekThereIsNoCurrentRecordAndNothingIsStored)
{
    openVersion(3);
    m_rs->setIndex(QStringLiteral("성경구절"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 1:2"));
    m_rs->Edit();
    m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("pending"));
    m_rs->Seek(QStringLiteral("="), QStringLiteral("창 9:9"));
    ASSERT_TRUE(m_rs->NoMatch());
    EXPECT_EQ(errorOf([&] { (void)field("본문"); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Edit(); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Update(); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { m_rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("x")); }),
              errorNumber::NoCurrentRecord);
    EXPECT_EQ(m_rs->RecordCount(), 3);
    reopen();
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->MoveFirst();
    while (!m_rs->Eof()) {
        EXPECT_FALSE(field("본문").isValid());
        m_rs->MoveNext();
    }
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
    m_rs->Seek(QStringLiteral("="), 2);
    add(4, QStringLiteral("창 1:4"));
    EXPECT_EQ(field("번호"), QVariant(2));
    m_rs->MoveNext();
    EXPECT_EQ(field("번호"), QVariant(3));
    m_rs->MoveNext();
    EXPECT_EQ(field("번호"), QVariant(4));
}

TEST_F(RecordsetTest, valuesCopyFromOneRecordsetToAnotherValueForValue)
{
    openVersion(4);
    const QString target = makeVersion(QStringLiteral("target.dat"), 0);
    auto tdb = DBEngine::instance().OpenDatabase(target, true, false, passwordConnect());
    auto trs = tdb->OpenRecordset(QStringLiteral("본문"));
    m_rs->setIndex(QStringLiteral("번호"));
    m_rs->MoveFirst();
    while (!m_rs->Eof()) {
        trs->AddNew();
        for (const char* name : {"번호", "권", "장", "절", "성경구절"}) {
            trs->Fields(QString::fromUtf8(name)).setValue(field(name));
        }
        trs->Update();
        m_rs->MoveNext();
    }
    trs->setIndex(QStringLiteral("번호"));
    trs->Seek(QStringLiteral("="), 3);
    EXPECT_EQ(trs->Fields(QStringLiteral("성경구절")).Value(), QVariant(QStringLiteral("창 1:3")));
    EXPECT_EQ(trs->Fields(QStringLiteral("번호")).Value().typeId(), QMetaType::Int);
    EXPECT_FALSE(trs->Fields(QStringLiteral("본문")).Value().isValid());
    EXPECT_EQ(trs->RecordCount(), 4);
}

TEST_F(RecordsetTest, closingTheDatabaseClosesItsRecordsets)
{
    openVersion(1);
    m_db->Close();
    EXPECT_FALSE(m_rs->isOpen());
    EXPECT_EQ(errorOf([&] { m_rs->MoveFirst(); }), errorNumber::ObjectClosed);
    m_rs->Close();
    m_db->Close();
    EXPECT_EQ(errorOf([&] { (void)m_db->OpenRecordset(QStringLiteral("본문")); }), errorNumber::ObjectClosed);
}
