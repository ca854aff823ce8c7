// An open during which another holder renames a replacement over the path ends up on the file the path names.

#include "support/InstallTreeTest.h"
#include "versiondb/Password.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

using namespace versiondb;
using namespace testsupport;

namespace {

// For the test, SQLite's default file system is a wrapper of the real one: right after SQLite opened the main
// file v.dat, it renames a fresh copy of r.dat over that path, as another holder's compaction does, for the
// next `left` such opens.
class ReplacedFile : public InstallTreeTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(isValid());
        file = makeVersion(QStringLiteral("v.dat"), 2);
        replacement = makeVersion(QStringLiteral("r.dat"), 3);
        s_test = this;
        m_vfs = *m_base;
        m_vfs.zName = "replacing";
        m_vfs.xOpen = &open;
        ASSERT_EQ(sqlite3_vfs_register(&m_vfs, 1), SQLITE_OK);
    }
    void TearDown() override
    {
        sqlite3_vfs_register(m_base, 1);
        sqlite3_vfs_unregister(&m_vfs);
    }
    static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* handle, int flags, int* outFlags)
    {
        ReplacedFile& t = *s_test;
        const int rc = t.m_base->xOpen(t.m_base, name, handle, flags, outFlags);
        const QString next = t.file + QStringLiteral(".next");
        if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) && t.left > 0 &&
            QFileInfo(QString::fromUtf8(name)) == QFileInfo(t.file) && QFile::copy(t.replacement, next) &&
            std::rename(QFile::encodeName(next).constData(), QFile::encodeName(t.file).constData()) == 0) {
            --t.left;
        }
        return rc;
    }

    QString file, replacement;
    int left = 0;

private:
    static inline ReplacedFile* s_test = nullptr;
    sqlite3_vfs* m_base = sqlite3_vfs_find(nullptr);
    sqlite3_vfs m_vfs{};
};

} // namespace

// The open notices that the file it locked is no longer the version and opens again: the save (to the first
// record) lands in the file that the path names, and nothing is left beside it. A file
// replaced at every attempt is in use.
TEST_F(ReplacedFile, anOpenTriesAgainOnTheReplacementAndGivesUpAsInUse)
{
    left = 100;
    EXPECT_EQ(errorOf([&] { (void)VersionStore::OpenDatabase(file); }), errorNumber::FileInUse);
    EXPECT_LT(left, 99);
    Records expected = read(replacement).value();
    expected[1].second = QStringLiteral("저장한 본문");
    left = 1;
    EXPECT_EQ(errorOf([&] {
                  auto version = VersionStore::OpenDatabase(file);
                  version->setText(version->Seek(qint64(1)).value_or(0), QStringLiteral("저장한 본문"));
              }),
              0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(read(file), expected);
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("r.dat"), QStringLiteral("v.dat")}));
}
