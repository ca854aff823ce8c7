// Reading records straight from the pages of a file.

#include "versiondb/PageSalvage.h"

#include "support/InstallTreeTest.h"

#include <QRandomGenerator>
#include <set>

using testsupport::bytes;
using namespace versiondb;

namespace {

class PageSalvageTest : public testsupport::InstallTreeTest
{};

} // namespace

TEST_F(PageSalvageTest, findsEveryRecordOfASoundFileAndItsVerifier)
{
    const QString file = makeVersion(QStringLiteral("v.dat"), 1500);
    const PageSalvage pages(bytes(file));
    std::set<int> seen;
    for (const PageSalvage::Record& r : pages.records(6)) {
        const int n = r.values[0].toInt();
        EXPECT_EQ(r.rowid, n);
        EXPECT_EQ(r.values[4], QVariant(QStringLiteral("창 1:%1").arg(n)));
        EXPECT_EQ(r.values[3], QVariant(n));
        EXPECT_FALSE(r.values[5].isValid());
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 1500u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 1500);
    // The verifier is the one record of four values.
    const std::vector<PageSalvage::Record> verifier = pages.records(4);
    ASSERT_EQ(verifier.size(), 1u);
    EXPECT_EQ(verifier[0].values[1].typeId(), QMetaType::QByteArray);
}

TEST_F(PageSalvageTest, longTextsAreFollowedThroughTheirOverflowPages)
{
    const QString file = makeVersion(QStringLiteral("v.dat"), 0);
    const QString text = QStringLiteral("긴 본문 ").repeated(2000); // far longer than a page
    (void)testsupport::sql(file, QStringLiteral("INSERT INTO \"본문\" (\"번호\", \"성경구절\", \"본문\") "
                                                "VALUES (1, '창 1:1', '%1')")
                                     .arg(text));
    const std::vector<PageSalvage::Record> records = PageSalvage(bytes(file)).records(6);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values[5], QVariant(text));
}

TEST_F(PageSalvageTest, damagedBytesNeverLeadOutsideTheFile)
{
    const QByteArray sound = bytes(makeVersion(QStringLiteral("v.dat"), 800));
    QRandomGenerator random(4417);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = sound;
        for (int i = 0; i < 200; ++i) {
            damaged[random.bounded(static_cast<int>(damaged.size()))] = static_cast<char>(random.bounded(256));
        }
        if (round % 4 == 0) {
            damaged.truncate(random.bounded(static_cast<int>(damaged.size())));
        }
        for (const PageSalvage::Record& r : PageSalvage(damaged).records(6)) {
            ASSERT_EQ(r.values.size(), 6u);
            ASSERT_GT(r.rowid, 0);
        }
    }
}
