#include "platform/CenteredOrigin.h"
#include "platform/FileNames.h"
#include "versiondb/Field.h"

#include <QDir>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::centeredOrigin;
using platform::FileExists;
using platform::GetFileName;
using versiondb::NullToSpaces;

TEST(GetFileName, takesThePartAfterTheLastSeparator)
{
    struct Case
    {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/user/Bible/data/mine.dat", "mine.dat"},
        {"mine.dat", ""},
        {"/home/user/data/", ""},
        {"/개역.DAT", "개역.DAT"},
        {"", ""},
        {"/a/b/../c.txt", "c.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileName(QString::fromUtf8(c.path)), QString::fromUtf8(c.expected));
    }
}

class FileExistsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        touch(QStringLiteral("kjv.dat"));
        touch(QStringLiteral("개역.DAT"));
        touch(QStringLiteral(".hidden.dat"));
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.dat")));
    }

    void touch(const QString& name)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QString path(const QString& name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }

    QTemporaryDir m_dir;
};

TEST_F(FileExistsTest, findsNormalFilesOnly)
{
    struct Case
    {
        QString name;
        bool expected;
    };
    const Case cases[] = {
        {QStringLiteral("kjv.dat"), true},
        {QStringLiteral("개역.DAT"), true},
        {QStringLiteral("folder.dat"), false},
        {QStringLiteral(".hidden.dat"), false},
        {QStringLiteral("missing.dat"), false},
        {QStringLiteral("missing-folder/kjv.dat"), false},
        {QStringLiteral("*.dat"), true},
        {QStringLiteral("k?v.dat"), true},
        {QStringLiteral("*.txt"), false},
        {QStringLiteral(".h*"), false},
        {QStringLiteral("missing-folder/*.dat"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(FileExists(path(c.name)), c.expected);
    }
}

TEST(FileExists, emptyPathIsFalse)
{
    EXPECT_FALSE(FileExists(QString()));
}

TEST(NullToSpaces, showsNullAsTwoSpaces)
{
    EXPECT_EQ(NullToSpaces(QVariant()), QStringLiteral("  "));
    EXPECT_EQ(NullToSpaces(QVariant(QString())), QString());
    EXPECT_EQ(NullToSpaces(QVariant(QStringLiteral(""))), QString());
    EXPECT_EQ(NullToSpaces(QVariant(QStringLiteral("null"))), QStringLiteral("null"));
    EXPECT_EQ(NullToSpaces(QVariant(QStringLiteral("태초에"))), QStringLiteral("태초에"));
    EXPECT_EQ(NullToSpaces(QVariant(42)), QStringLiteral("42"));
    EXPECT_EQ(NullToSpaces(QVariant::fromValue(QSize(1, 2))), QStringLiteral("  "));
}

TEST(CenterForm, centresWithTheFractionCutTowardZero)
{
    struct Case
    {
        double screenWidth, screenHeight, windowWidth, windowHeight;
        std::optional<QPoint> expected;
    };
    const Case cases[] = {
        {15360, 11520, 5700, 4800, QPoint(4830, 3360)},
        {15360, 11520, 5701, 4801, QPoint(4829, 3359)},
        {15360, 11520, 15360, 11520, QPoint(0, 0)},
        {100, 100, 103, 103, QPoint(-1, -1)},
        {100, 100, 104.4, 100, QPoint(-2, 0)},
        {100, 100, 100.6, 100, QPoint(0, 0)},
        {65536, 100, 0, 0, std::nullopt},
        {70000, 100, 0, 0, std::nullopt},
        {100, 70000, 0, 0, std::nullopt},
        {0, 0, 70000, 100, std::nullopt},
        {65534, 65534, 0, 0, QPoint(32767, 32767)},
        {0, 0, 65536, 65536, QPoint(-32768, -32768)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenWidth << "x" << c.screenHeight << " / " << c.windowWidth << "x"
                                        << c.windowHeight);
        EXPECT_EQ(centeredOrigin(c.screenWidth, c.screenHeight, c.windowWidth, c.windowHeight), c.expected);
    }
}
