// USFM files checked and built by byeorisol-data, and what it stores compared with what SWORD reads of the same files.

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "import/ErrorEntries.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using importer::SourceFault;

namespace {

// Genesis and Psalms in one file, John in another: headings, paragraphs, poetry, notes and character markers.
const QString kBible = uR"(\id GEN 벼리솔 시험
\h Genesis
\mt1 The First Book of Moses
\c 1
\s1 The Creation
\p
\v 1 In the beginning\f + \fr 1:1 \ft Or, \fq at first\f* God created the heaven
and the earth.
\v 2 And the earth was without form\x - \xo 1:2 \xt Jer 4:23\x*, and void; and the \nd LORD\nd*'s
spirit \add moved\add* upon the face of the waters.
\p
\v 3 And God said, \wj Let there be light.\wj* And there was \w light|strong="H216"\w*.
\id PSA
\h Psalms
\mt1 The Psalms
\c 3
\d A Psalm of David, when he fled from Absalom his son.
\q1
\v 1 \nd LORD\nd*, how are they increased that trouble me!
\q2 many are they that rise up against me.
\q1
\v 2 Many there be which say of my soul,
\q2 There is no help for him in God. \qs Selah.\qs*
\b
\q1
\v 3 But thou, O \nd LORD\nd*, art a shield for me;
)"_s;
const QString kJohn = uR"(\id JHN
\h 요한복음
\mt1 요한복음
\c 3
\p
\v 16 하나님이 세상을 이처럼 사랑하사\f + \ft 헬, 독생자\f* 독생자를 주셨으니
\v 17 하나님이 그 아들을 세상에 보내신 것은
)"_s;

class UsfmImport : public testsupport::DataCommandTest
{
protected:
    QString usfm(const QString& name, const QString& text) const
    {
        testsupport::write(beside(name), text.toUtf8());
        return beside(name);
    }

    // The verses stored with a text, by reference.
    QMap<QString, QString> storedVerses(const QString& version) const
    {
        QMap<QString, QString> verses;
        for (const auto& [reference, text] : testsupport::storedTexts(path(version))) {
            if (text != u"<Null>"_s) {
                verses.insert(reference, text);
            }
        }
        return verses;
    }
};

TEST_F(UsfmImport, storesEveryVerseAsSwordReadsItFromTheSameFiles)
{
    const QStringList files = {usfm(u"bible.usfm"_s, kBible), usfm(u"john.sfm"_s, kJohn)};
    const testsupport::CommandResult built = run(QStringList{u"build"_s, u"usfm"_s} + files);
    ASSERT_EQ(built.exitCode, 0) << built.out.toStdString();
    const QMap<QString, QString> stored = storedVerses(u"usfm.DAT"_s);
    EXPECT_EQ(stored.keys(), (QStringList{u"시 3:1"_s, u"시 3:2"_s, u"시 3:3"_s, u"요 3:16"_s, u"요 3:17"_s,
                                          u"창 1:1"_s, u"창 1:2"_s, u"창 1:3"_s}));
    EXPECT_EQ(stored.value(u"요 3:16"_s), u"하나님이 세상을 이처럼 사랑하사 독생자를 주셨으니"_s);

    for (const QString& tool : {u"u2o"_s, u"osis2mod"_s, u"diatheke"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            GTEST_SKIP() << tool.toStdString() << " is missing (u2o, libsword-utils, diatheke; scripts/setup)";
        }
    }
    // u2o reads one book a file: the books of the first file go to it one by one.
    QStringList books;
    for (const QString& book : (kBible + kJohn).split(u"\\id "_s, Qt::SkipEmptyParts)) {
        books << usfm(u"book%1.usfm"_s.arg(books.size()), u"\\id "_s + book);
    }
    const QString osis = beside(u"usfm.osis.xml"_s);
    testsupport::outputOf(u"u2o"_s, QStringList{u"-l"_s, u"ko"_s, u"-o"_s, osis, u"usfmtest"_s} + books);
    const QString sword = beside(u"sword"_s);
    const QString data = sword + u"/modules/texts/ztext/usfmtest"_s;
    ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(sword + u"/mods.d"_s));
    testsupport::outputOf(u"osis2mod"_s, {data, osis, u"-z"_s});
    // Notes, cross references, Strong's numbers and headings are left out of what diatheke prints.
    testsupport::write(sword + u"/mods.d/usfmtest.conf"_s,
                       "[USFMTEST]\nDataPath=./modules/texts/ztext/usfmtest/\nModDrv=zText\nEncoding=UTF-8\n"
                       "SourceType=OSIS\nBlockType=BOOK\nCompressType=ZIP\nVersification=KJV\n"
                       "GlobalOptionFilter=OSISFootnotes\nGlobalOptionFilter=OSISScripref\n"
                       "GlobalOptionFilter=OSISStrongs\nGlobalOptionFilter=OSISHeadings\n");
    qputenv("SWORD_PATH", sword.toLocal8Bit());
    qputenv("LANG", "C.UTF-8");
    for (const auto& [reference, text] : stored.asKeyValueRange()) {
        const int book = books::BookAbbreviations::find(reference.section(u' ', 0, 0));
        const QString key = books::SwordBookNames::englishName(book).toString() + u' ' + reference.section(u' ', 1);
        // What diatheke prints: a psalm's title, then the key, ": " and the verse's lines, then the module's name.
        const QString printed =
            testsupport::outputOf(u"diatheke"_s, {u"-b"_s, u"USFMTEST"_s, u"-f"_s, u"plain"_s, u"-k"_s, key});
        const qsizetype begin = printed.indexOf(key + u": "_s);
        ASSERT_GE(begin, 0) << printed.toStdString();
        EXPECT_EQ(printed.sliced(begin + key.size() + 2).section(u"(USFMTEST)"_s, 0, 0).simplified(), text)
            << key.toStdString();
    }
}

// A file without "\id", a book that is not among the 66, a verse range and a line of 200 MB: each named in the error
// list at its line, the verses around them stored, and the long line never held (the build runs in 256 MiB of address
// space).
TEST_F(UsfmImport, faultsAreListedAtTheirLinesAndAHugeLineIsNotHeld)
{
    const QStringList files = {
        usfm(u"none.usfm"_s, u"\\c 1\n\\v 1 x\n"_s), usfm(u"tobit.usfm"_s, u"\\id TOB\n\\c 1\n\\v 1 x\n"_s),
        usfm(u"range.usfm"_s, u"\\id EXO\n\\c 1\n\\v 1-2 x\n\\v 3 Now Joseph was in Egypt already.\n"_s),
        usfm(u"huge.usfm"_s, u"\\id GEN\n\\c 1\n\\v 1 In the beginning.\n\\v 2\n"_s)};
    {
        QFile huge(files.last());
        ASSERT_TRUE(huge.open(QIODevice::ReadWrite) && huge.seek(200 * 1024 * 1024) &&
                    huge.write("\n\\v 3 And God said.\n") > 0);
    }
    QProcess process;
    process.setChildProcessModifier([] {
        constexpr rlim_t kAddressSpace = 256 * 1024 * 1024;
        const rlimit limit{kAddressSpace, kAddressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    process.start(
        testsupport::builtProgramFolder() + u"/byeorisol-data"_s,
        QStringList{u"--program-folder"_s, programFolder(), u"build"_s, u"--encoding"_s, u"cp949"_s, u"usfm"_s} +
            files);
    ASSERT_TRUE(process.waitForFinished(300000));
    EXPECT_EQ(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, 1));
    EXPECT_TRUE(QFile::remove(files.last()));
    EXPECT_EQ(storedVerses(u"usfm.DAT"_s),
              (QMap<QString, QString>{{u"창 1:1"_s, u"In the beginning."_s},
                                      {u"창 1:3"_s, u"And God said."_s},
                                      {u"출 1:3"_s, u"Now Joseph was in Egypt already."_s}}));
    const auto fault = [](qint64 line, SourceFault kind, const QString& detail = {}) {
        return importer::ErrorEntries::faultEntry({line, 0, {}, {}, kind, detail});
    };
    QStringList expected;
    for (const auto& [file, entry] : {std::pair(files[0], fault(1, SourceFault::MissingBookId)),
                                      std::pair(files[1], fault(1, SourceFault::UnknownBookId, u"TOB"_s)),
                                      std::pair(files[2], fault(3, SourceFault::VerseRange, u"1-2"_s)),
                                      std::pair(files[3], fault(5, SourceFault::TooLong))}) {
        expected << importer::ErrorEntries::fileHeading(file) << entry;
    }
    const QStringList log =
        QString(QStringDecoder("windows-949").decode(testsupport::bytes(programFile(u"err.txt"_s)))).split(u"\r\n"_s);
    EXPECT_EQ(log.mid(2, log.size() - 3), expected);
}

} // namespace
